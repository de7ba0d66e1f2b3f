#pragma once
// Resource identifiers shared by the resource scripts and the code.

#define IDI_LAUNCHER 1

#define IDD_LAUNCHER 102
#define IDD_QUESTION 139
#define IDD_NOTICE 141

#define IDB_QUESTION_BACKGROUND 155
#define IDB_NOTICE_BACKGROUND 157

#define IDC_LAUNCHER_CLOSE 7000

// The launcher's messages: their texts are the profile's (texts/*.po).
#define IDS_CVN_INSTALLED 5000
#define IDS_CVN_DOWNLOAD_QUESTION 5001
#define IDS_CVN_VERIFY_ERROR 5002
#define IDS_LANGUAGE_NOT_SUPPORTED 5003
