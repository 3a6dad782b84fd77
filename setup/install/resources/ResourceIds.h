// Identifiers of the installer's resources: strings, dialog templates,
// pictures and the controls the program addresses.
#pragma once

// Strings
constexpr unsigned IDS_BACK = 103;
constexpr unsigned IDS_DIRECTORY_INVALID = 104;
constexpr unsigned IDS_NEXT = 105;
constexpr unsigned IDS_CANCEL = 106;
constexpr unsigned IDS_HELP = 107;
constexpr unsigned IDS_FINISH = 108;
constexpr unsigned IDS_TITLE = 109;
constexpr unsigned IDS_INSTALL = 110;
constexpr unsigned IDS_ALREADY_RUNNING = 112;
constexpr unsigned IDS_AVAILABLE_ON = 113;
constexpr unsigned IDS_CREATE_DIRECTORY = 114;
constexpr unsigned IDS_WARNING = 116;
constexpr unsigned IDS_INSUFFICIENT_SPACE = 117;
constexpr unsigned IDS_ERROR = 119;
constexpr unsigned IDS_CONFIRM_CANCEL = 120;
constexpr unsigned IDS_CANT_COPY = 121;
constexpr unsigned IDS_SOURCE_FILE = 122;
constexpr unsigned IDS_DESTINATION_FILE = 123;
constexpr unsigned IDS_NOT_FOUND_OR_FULL = 124;
constexpr unsigned IDS_DIRECTX_FAILED = 125;
constexpr unsigned IDS_CANT_RESTART = 126;
constexpr unsigned IDS_FOLDER_UNREADABLE = 127;

// Dialog templates
constexpr unsigned IDD_DESTINATION = 129;
constexpr unsigned IDD_RESUME_EXIT = 131;
constexpr unsigned IDD_WELCOME = 132;
constexpr unsigned IDD_START = 133;
constexpr unsigned IDD_COMPLETE = 134;
constexpr unsigned IDD_LINKS = 135;
constexpr unsigned IDD_WAITING = 136;
constexpr unsigned IDD_PROGRESS = 137;
constexpr unsigned IDD_RESTART = 138;
constexpr unsigned IDD_CHOOSE_DIRECTORY = 144;
constexpr unsigned IDD_INSTALLATION_TYPE = 145;
constexpr unsigned IDD_DIRECTX = 146;

// Pictures
constexpr unsigned IDB_WIZARD = 129;
constexpr unsigned IDI_WELCOME = 130;
constexpr unsigned IDI_RESUME = 132;

// Controls
constexpr int IDC_RELEASE_NOTES = 1003;
constexpr int IDC_WEB_PAGE = 1004;
constexpr int IDC_DESKTOP_LINK = 1007;
constexpr int IDC_AVAILABLE_TEXT = 1009;
constexpr int IDC_REQUIRED_TEXT = 1010;
constexpr int IDC_AVAILABLE_LABEL = 1011;
constexpr int IDC_COMPACT = 1012;
constexpr int IDC_MEDIUM = 1013;
constexpr int IDC_FULL = 1014;
constexpr int IDC_PROGRAM_GROUP = 1016;
constexpr int IDC_PROGRESS = 1018;
constexpr int IDC_BROWSE = 1001;
constexpr int IDC_DESTINATION_PATH = 1020;
constexpr int IDC_INSTALL_DIRECTX = 1021;
constexpr int IDC_DIRECTX_PRESENT = 1023;
constexpr int IDC_FOLDER_TREE = 1049;
constexpr int IDC_FOLDER_PATH = 1051;
constexpr int IDC_GO = 1052;
constexpr int IDC_DIRECTX_NEEDED = 1053;
