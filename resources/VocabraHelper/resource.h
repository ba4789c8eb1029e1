#pragma once
// Resource ids of VocabraHelper.exe, shared by its .rc files and its code.
// Plain defines: the resource compiler reads this file too.

#define IDS_TRANSLATION_NOT_FOUND 303

// The services' names, and the paths of their information pages under the program folder.
#define IDS_BABYLON_NAME 400
#define IDS_BABYLON_PAGE 401
#define IDS_MULTILEX_NAME 402
#define IDS_MULTILEX_PAGE 403
#define IDS_LINGVO_NAME 404
#define IDS_LINGVO_PAGE 405
#define IDS_GOOGLE_NAME 406
#define IDS_GOOGLE_PAGE 407
