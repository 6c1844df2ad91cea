/* Version of Tuho and TuhoKick, shown by the About box. */
#ifndef TUHO_VERSION_H
#define TUHO_VERSION_H

#define TUHO_VERSION_MAJOR  1
#define TUHO_VERSION_MINOR  0
#define TUHO_VERSION_PATCH  0
#define TUHO_VERSION_BUILD  0
#define TUHO_VERSION_TEXT   "1.0.0.0"

#endif
