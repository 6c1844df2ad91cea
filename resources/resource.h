/* Resource ids of Tuho: icons, bitmaps and dialog templates, and the ids of
   the controls that the dialog templates hold.  Shared by Tuho.rc and the
   program code, so plain #defines only. */
#ifndef TUHO_RESOURCE_H
#define TUHO_RESOURCE_H

/* Icons */
#define IDI_TUHO                      5    /* window class icon, 48/32/16 */
#define IDI_TRAY                      190  /* notification-area icon, 16 (and 32) */

/* Dialog templates */
#define IDD_PROGRESS                  101
#define IDD_MEDIA_STORE               102
#define IDD_ADD_MEDIA                 103
#define IDD_EDIT_TAG                  104
#define IDD_ABOUT                     168
#define IDD_LOCATE_VOLUME             180
#define IDD_PREFERENCES               192
#define IDD_WELCOME                   195

/* Tree images, 16 x 16 */
#define IDB_TREE_ALBUM                108
#define IDB_TREE_ARTIST               109
#define IDB_TREE_GENRE                110
#define IDB_TREE_ALBUM_READY          160
#define IDB_TREE_ARTIST_READY         161
#define IDB_TREE_GENRE_READY          162
#define IDB_TREE_ALBUM_FOLDER         165
#define IDB_TREE_ARTIST_FOLDER        166
#define IDB_TREE_GENRE_FOLDER         167

/* Track list images, 16 x 16 */
#define IDB_LIST_TRACK                112
#define IDB_LIST_TRACK_READY          159
#define IDB_LIST_TRACK_FOLDER         163

/* Strip buttons, 40 x 40: normal, hover, pressed, disabled */
#define IDB_MEDIA_STORE               128
#define IDB_MEDIA_STORE_HOVER         134
#define IDB_MEDIA_STORE_PRESSED       153
#define IDB_MEDIA_STORE_DISABLED      151
#define IDB_READY_ALL                 114
#define IDB_READY_ALL_HOVER           137
#define IDB_READY_ALL_PRESSED         138
#define IDB_READY_ALL_DISABLED        136
#define IDB_READY_SELECTED            115
#define IDB_READY_SELECTED_HOVER      140
#define IDB_READY_SELECTED_PRESSED    141
#define IDB_READY_SELECTED_DISABLED   139
#define IDB_PLAY_ALL                  129
#define IDB_PLAY_ALL_HOVER            155
#define IDB_PLAY_ALL_PRESSED          156
#define IDB_PLAY_ALL_DISABLED         154
#define IDB_PLAY_SELECTED             113
#define IDB_PLAY_SELECTED_HOVER       158
#define IDB_PLAY_SELECTED_PRESSED     135
#define IDB_PLAY_SELECTED_DISABLED    157
#define IDB_ENQUEUE_ALL               124
#define IDB_ENQUEUE_ALL_HOVER         146
#define IDB_ENQUEUE_ALL_PRESSED       147
#define IDB_ENQUEUE_ALL_DISABLED      145
#define IDB_ENQUEUE_SELECTED          125
#define IDB_ENQUEUE_SELECTED_HOVER    149
#define IDB_ENQUEUE_SELECTED_PRESSED  150
#define IDB_ENQUEUE_SELECTED_DISABLED 148
#define IDB_CONFIG                    123
#define IDB_CONFIG_HOVER              143
#define IDB_CONFIG_PRESSED            144
#define IDB_CONFIG_DISABLED           142

/* Strip tiles: upper row 10 x 40, lower row 10 x 4 (40 x 4 under a button) */
#define IDB_STRIP_LEFT_END_LIP        116
#define IDB_STRIP_LEFT_END            117
#define IDB_STRIP_LIP                 118
#define IDB_STRIP_BUTTON_LIP          119
#define IDB_STRIP_RIGHT_END_LIP       120
#define IDB_STRIP_RIGHT_END           121
#define IDB_STRIP_GROOVE              122
#define IDB_STRIP_BEFORE_BUTTON       126
#define IDB_STRIP_AFTER_BUTTON        127

/* Corners of the browsing-area frame, 10 x 10 */
#define IDB_CORNER_BOTTOM_LEFT        130
#define IDB_CORNER_TOP_LEFT           131
#define IDB_CORNER_BOTTOM_RIGHT       132
#define IDB_CORNER_TOP_RIGHT          133

/* Dialog banners: upper W x 33, lower W x 31 */
#define IDB_ABOUT                     164  /* 400 x 250 */
#define IDB_MEDIA_STORE_BANNER        170  /* 400 x 33 */
#define IDB_ADD_MEDIA_NAME            171  /* 400 x 31 */
#define IDB_ADD_MEDIA_TYPE            172  /* 400 x 31 */
#define IDB_ADD_MEDIA_LOCATION        173  /* 400 x 31 */
#define IDB_PROGRESS_LOWER            174  /* 300 x 31 */
#define IDB_PROGRESS_FOUND            175  /* 300 x 33 */
#define IDB_ADD_MEDIA_BANNER          176  /* 400 x 33 */
#define IDB_PROGRESS_COPIED           177  /* 300 x 33 */
#define IDB_PROGRESS_DELETED          178  /* 300 x 33 */
#define IDB_PROGRESS_REMOVED          179  /* 300 x 33 */
#define IDB_PROGRESS_EDITED 196            /* 300 x 33 */
#define IDB_PROGRESS_GROUPED 197           /* 300 x 33 */
#define IDB_PROGRESS_LISTED 198            /* 300 x 33 */
#define IDB_LOCATE_VOLUME_BANNER      181  /* 300 x 33 */
#define IDB_LOCATE_VOLUME_HEADER      182  /* 300 x 31 */
#define IDB_MEDIA_STORE_LOWER         183  /* 400 x 31 */
#define IDB_PREFERENCES_BANNER        191  /* 300 x 64 */
#define IDB_WELCOME_UPPER             193  /* 300 x 33 */
#define IDB_WELCOME_LOWER             194  /* 300 x 31 */

/* Controls held by the dialog templates */
#define IDC_STORE_LIST                1003
#define IDC_STORE_ADD                 1004
#define IDC_STORE_REMOVE              1005
#define IDC_STORE_RESCAN              1006
#define IDC_STORE_CLOSE               1007
#define IDC_STORE_GROUP               1019
#define IDC_STORE_DETAILS 1020 /* created in code */
#define IDC_TAG_ARTIST                1008
#define IDC_TAG_ALBUM                 1009
#define IDC_TAG_TITLE                 1011
#define IDC_TAG_TRACK_NUMBER          1012
#define IDC_TAG_GENRE                 1013
#define IDC_TAG_FILE_LINE1            1016
#define IDC_TAG_FILE_LINE2            1017
#define IDC_TAG_FILE_LINE3            1018

#endif
