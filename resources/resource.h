/* Corvadin resource ids: dialog templates, their controls, menus, commands, bitmaps, icons and strings.
   Plain #defines so that both the C++ code and the resource script (windres) can include this file.
   Numbers are fixed: windows look their resources up by them, so never renumber. */
#ifndef CORVADIN_RESOURCES_RESOURCE_H
#define CORVADIN_RESOURCES_RESOURCE_H

/* ---- Dialog templates ---------------------------------------------------------------------------- */
#define IDD_POPUP                   101   /* pop-up notifier, 110x195 DU, tool window */
#define IDD_MAIN                    102   /* main window */
#define IDD_GENERAL_TAB             137   /* settings page "General" */
#define IDD_LOGFILE_TAB             138   /* settings page "Advanced" */
#define IDD_AUTOUPDATE_TAB          139   /* settings page "Auto-Update" */
#define IDD_SETTINGS                141   /* settings dialog, 259x391 DU */
#define IDD_ABOUT_TAB               147   /* settings page "About" */
#define IDD_IGNORE_TAB              148   /* settings page "Ignore List" */
#define IDD_RESTORE                 190   /* restore a rollback file (main window menu) */
#define IDD_HIDDEN                  1089  /* invisible owner window "zintavodlg", 9x9 DU */

/* ---- Menus and accelerators ---------------------------------------------------------------------- */
#define IDR_RESULTS_ACCEL           132   /* keyboard commands of the results list */
#define IDR_MAIN_MENU               183   /* main window's menu bar */
#define IDR_TRAY_MENU               315   /* tray icon menu: its first pop-up is shown */
#define IDR_ROW_MENU                316   /* results list row menu: its first pop-up is shown */

/* ---- Icons --------------------------------------------------------------------------------------- */
#define IDI_TRAY                    132   /* notification-area icon (also the tray icon's id) */
#define IDI_PAGE_AUTOUPDATE         142   /* settings page list, "Auto-Update" */
#define IDI_PAGE_GENERAL            144   /* settings page list, "General" */
#define IDI_PAGE_ADVANCED           145   /* settings page list, "Advanced" */
#define IDI_PAGE_ABOUT              146   /* settings page list, "About" */
#define IDI_PAGE_IGNORE             149   /* settings page list, "Ignore List" */
#define IDI_MAIN                    310   /* main window, large and small */

/* ---- Bitmaps ------------------------------------------------------------------------------------- */
#define IDB_BUSY                    140   /* busy indicator at rest, 26x28 */
#define IDB_DRIVE_STATES            156   /* drive tree tick boxes, 64x16: four 16x16 images, red transparent */
#define IDB_BUSY_FRAME1             165   /* busy indicator animation, 26x28 each, 165..170 */
#define IDB_BUSY_FRAME2             166
#define IDB_BUSY_FRAME3             167
#define IDB_BUSY_FRAME4             168
#define IDB_BUSY_FRAME5             169
#define IDB_BUSY_FRAME6             170
#define IDB_BUSY_FRAME_COUNT        6

/* Skinned button faces: normal, pressed, hover, disabled. */
#define IDB_STOP_NORMAL             187   /* Stop Scanner, 144x41 */
#define IDB_STOP_PRESSED            276
#define IDB_STOP_HOVER              301
#define IDB_STOP_DISABLED           300
#define IDB_REPAIR_SMALL_NORMAL     280   /* pop-up Repair and main window lower Repair Errors, 122x28 */
#define IDB_REPAIR_SMALL_DISABLED   281
#define IDB_REPAIR_SMALL_HOVER      282
#define IDB_REPAIR_SMALL_PRESSED    283
#define IDB_REPAIR_SELECTED_NORMAL  284   /* Repair Selected, 139x28 */
#define IDB_REPAIR_SELECTED_DISABLED 285
#define IDB_REPAIR_SELECTED_HOVER   286
#define IDB_REPAIR_SELECTED_PRESSED 287
#define IDB_REPAIR_DISABLED         289   /* Repair Errors (top row), 153x41 */
#define IDB_REPAIR_HOVER            290
#define IDB_REPAIR_PRESSED          291
#define IDB_SELECT_ALL_NORMAL       292   /* Select All, 139x28 */
#define IDB_SELECT_ALL_DISABLED     293
#define IDB_SELECT_ALL_HOVER        294
#define IDB_SELECT_ALL_PRESSED      295
#define IDB_START_DISABLED          297   /* Start Scanner, 141x41 */
#define IDB_START_HOVER             298
#define IDB_START_PRESSED           299
#define IDB_REPAIR_NORMAL           302
#define IDB_START_NORMAL            303
#define IDB_MAIN_BACKGROUND         308   /* main window skin, 625x415 */
#define IDB_POPUP_BACKGROUND        314   /* pop-up skin, 150x321 */
#define IDB_MAIN_HEADER             320   /* main window header band, 8x68, repeated across the window */
#define IDB_MAIN_BANNER             321   /* emblem and wordmark on the header, 138x68 */
/* The 200% art of a skin bitmap has its id plus this offset; the program scales it down for the sizes between. */
#define IDB_LARGE_ART_OFFSET        2000

/* ---- Strings ------------------------------------------------------------------------------------- */
#define IDS_TRAY_TIP                132   /* "Corvadin": fallback tip of the tray icon */
#define IDS_MAKER                   142   /* "Quenmark" */
#define IDS_PRODUCT                 143   /* "Corvadin" */
#define IDS_LEGAL_NOTICE            144   /* a legal notice line of the About page */
#define IDS_VERSION                 145   /* "3.3.0" */
#define IDS_SITE_ADDRESS            147   /* "Help": folder of the help pages below the program folder */
#define IDS_HELP_GENERAL            149   /* "/help/option_general.html" */
#define IDS_HELP_LOG                150   /* "/help/option_log.html" */
#define IDS_HELP_UPDATE             151   /* "/help/option_update.html" */
#define IDS_HELP_CONTEXT            152   /* "/help/context.html" */

/* ---- Main window (IDD_MAIN) controls ------------------------------------------------------------- */
#define IDC_STOP_SCAN               1000
#define IDC_START_SCAN              1001
#define IDC_REPAIR_ERRORS           1003  /* top row */
#define IDC_PROGRESS                1009
#define IDC_PROGRESS_LABEL          1010  /* "Current operation progress:" */
#define IDC_RESULTS_PLACEHOLDER     1012  /* hidden; the results list takes its place */
#define IDC_BUSY                    1013
#define IDC_STATUS                  1014  /* "Idle", "Scanning", "Stopping" */
#define IDC_CURRENT_ITEM            1015
#define IDC_SELECT_ALL              1021
#define IDC_REPAIR_SELECTED         1022
#define IDC_REPAIR_LOWER            1023  /* main window lower-left Repair Errors; pop-up Repair */
#define IDC_ERRORS_FOUND            1025  /* "Errors found" (main window and pop-up) */
#define IDC_TOTAL_COUNT             1035  /* counter 0 */

/* Category labels, top to bottom (main window and pop-up). */
#define IDC_LABEL_APP_PATH          1024
#define IDC_LABEL_UNINSTALL         1026
#define IDC_LABEL_HELP_FILES        1027
#define IDC_LABEL_FILE_EXTENSIONS   1028
#define IDC_LABEL_EXTENSION_REF     1029
#define IDC_LABEL_FONT_FILES        1030
#define IDC_LABEL_RECENTLY_USED     1031
#define IDC_LABEL_SHARED_DLL        1032
#define IDC_LABEL_SHARED_FOLDERS    1033
#define IDC_LABEL_STARTUP_PROGRAM   1034
#define IDC_LABEL_COM               1020
#define IDC_LABEL_BHO               1037
#define IDC_LABEL_SHORTCUTS         1038
#define IDC_LABEL_SOUND_EVENT       1104
#define IDC_LABEL_COMPATIBILITY     1105
#define IDC_LABEL_INSTALLER_FOLDER  1106
#define IDC_LABEL_SERVICE           1107

/* Category counters in the same order: counters 1 to 13 run from IDC_COUNT_FIRST to IDC_COUNT_LAST, the later
   ones have ids of their own. */
#define IDC_COUNT_FIRST             1039
#define IDC_COUNT_APP_PATH          1039
#define IDC_COUNT_UNINSTALL         1040
#define IDC_COUNT_HELP_FILES        1041
#define IDC_COUNT_FILE_EXTENSIONS   1042
#define IDC_COUNT_EXTENSION_REF     1043
#define IDC_COUNT_FONT_FILES        1044
#define IDC_COUNT_RECENTLY_USED     1045
#define IDC_COUNT_SHARED_DLL        1046
#define IDC_COUNT_SHARED_FOLDERS    1047
#define IDC_COUNT_STARTUP_PROGRAM   1048
#define IDC_COUNT_COM               1049
#define IDC_COUNT_BHO               1050
#define IDC_COUNT_SHORTCUTS         1051
#define IDC_COUNT_LAST              1051
#define IDC_COUNT_SOUND_EVENT       1114
#define IDC_COUNT_COMPATIBILITY     1115
#define IDC_COUNT_INSTALLER_FOLDER  1116
#define IDC_COUNT_SERVICE           1117

/* The categories added after the first thirteen: labels 1100 on, counters 1110 on, in the order of the categories. */
#define IDC_LABEL_TYPE_LIBRARY      1100
#define IDC_LABEL_INTERFACE         1101
#define IDC_LABEL_SHELL_EXTENSION   1102
#define IDC_LABEL_MUI_CACHE         1103
#define IDC_COUNT_TYPE_LIBRARY      1110
#define IDC_COUNT_INTERFACE         1111
#define IDC_COUNT_SHELL_EXTENSION   1112
#define IDC_COUNT_MUI_CACHE         1113

/* ---- Settings dialog (IDD_SETTINGS) -------------------------------------------------------------- */
#define IDC_PAGE_LIST               1013
#define IDC_PAGE_TITLE              1017
#define IDC_SETTINGS_RULE           1018  /* the line above OK and Cancel */

/* General page (IDD_GENERAL_TAB). */
#define IDC_GENERAL_SCAN_DRIVES     1001
#define IDC_GENERAL_DRIVE_TREE      1002
#define IDC_GENERAL_SCAN_REGISTRY   1003
#define IDC_GENERAL_KEEP_DELETED    1004
#define IDC_GENERAL_DELETED_PATH    1005
#define IDC_GENERAL_BROWSE          1006
#define IDC_GENERAL_CATEGORIES      1007  /* tick list: the categories scans cover */

/* Advanced page (IDD_LOGFILE_TAB). */
#define IDC_LOG_KEEP_HISTORY        1001
#define IDC_LOG_PATH                1005
#define IDC_LOG_BROWSE              1006
#define IDC_LOG_BEEP                1030
#define IDC_LOG_MESSAGE             1031
#define IDC_LOG_SCHEDULE_REBOOT     1032

/* Auto-Update page (IDD_AUTOUPDATE_TAB). */
#define IDC_UPDATE_CONFIRM          1001
#define IDC_UPDATE_MANUALLY         1007
#define IDC_UPDATE_AUTOMATICALLY    1008
#define IDC_UPDATE_INTERVAL         1009

/* About page (IDD_ABOUT_TAB): texts only. */
#define IDC_ABOUT_TITLE             1060
#define IDC_ABOUT_NOTICE            1061
#define IDC_ABOUT_ICON              1062

/* Ignore List page (IDD_IGNORE_TAB). */
#define IDC_IGNORE_LIST             1080
#define IDC_IGNORE_REMOVE           1081
#define IDC_IGNORE_NOTE             1082  /* what the list holds */

/* Restore dialog (IDD_RESTORE). */
#define IDC_RESTORE_LIST            1070  /* rollback files of the current folder */
#define IDC_RESTORE_RUN             1071  /* "Restore" */
#define IDC_RESTORE_NOTE            1072  /* what the dialog lists */

/* Initialisation data of a dialog template (the interval list of IDD_AUTOUPDATE_TAB): a resource of this type
   with the template's id, holding records of WORD control id, WORD message, DWORD byte count and that many
   bytes (zero-terminated text) to send to the control; a zero control id ends the list. */
#define CORVADIN_RT_DLGINIT         240

/* ---- Commands ------------------------------------------------------------------------------------ */
/* Main window commands that no control of the template issues. */
#define ID_OPEN_SETTINGS            1004
#define ID_OPEN_HELP_PAGE           1005
#define ID_TICK_ALL_ROWS            1007
#define ID_REPAIR_ROWS              1008

/* Main window menu (IDR_MAIN_MENU). */
#define ID_MENU_HELP                32778
#define ID_LAUNCH_AT_STARTUP        32785
#define ID_OPEN_RESTORE             32795  /* "Restore...": the restore dialog */

/* Tray menu (IDR_TRAY_MENU). */
#define ID_TRAY_EXIT                32781
#define ID_TRAY_SHOW                32782

/* Results list keyboard commands (IDR_RESULTS_ACCEL). */
#define ID_LIST_TOGGLE_TICK         32772  /* Space */
#define ID_LIST_TICK_ALL            32773  /* Ctrl+A */
#define ID_LIST_REPAIR              32774  /* Ctrl+Delete */
#define ID_LIST_CLOSE               32775  /* Ctrl+X */
#define ID_LIST_START_SCAN          32776  /* Ctrl+Enter */
#define ID_LIST_STOP_SCAN           32788  /* Escape */
#define ID_LIST_NOTHING             32791  /* Ctrl+D */
#define ID_LIST_HELP                32794  /* F1 */

/* Results list row menu (IDR_ROW_MENU). */
#define ID_ROW_OPEN_REGEDIT         32800
#define ID_ROW_COPY_PATH            32801
#define ID_ROW_IGNORE               32802
#define ID_ROW_OPEN_FOLDER          32803
#define ID_ROW_COPY_DETAILS         32804

#endif /* CORVADIN_RESOURCES_RESOURCE_H */
