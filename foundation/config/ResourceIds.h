#pragma once
// String ids shared by the programs' string tables and the code that loads them.
// Plain defines: the resource compiler reads this file too.
#define IDS_LOCALE_FOLDER 110
#define IDS_CONFIGURATION_PATH 111
#define IDS_TRANSLATE_DIRECTION_PATH 112
#define IDS_LANGUAGE_CODE 113
#define IDS_DIALOG_PROGID_PREFIX 114
#define IDS_INSTALLER_URL 500
#define IDS_UPDATE_DOCUMENT_URL 501
#define IDS_UPDATE_CAPTION 502
#define IDS_UPDATE_QUESTION 503
