/* Resource ids of TuhoKick. */
#ifndef TUHOKICK_RESOURCE_H
#define TUHOKICK_RESOURCE_H

#define IDI_LAUNCHER       101  /* window class icon, 48/32/16 */
#define IDI_LAUNCHER_TRAY  102  /* notification-area icon, 16 (and 32) */

#endif
