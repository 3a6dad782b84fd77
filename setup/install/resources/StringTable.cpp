#include "install/resources/ResourceIds.h"
#include "install/resources/StringTableData.h"

// The texts are the program's own, typos included: later releases and the
// translations are matched against them.
const StringResource stringTable[] = {
    {IDS_BACK, "&Back"},
    {IDS_DIRECTORY_INVALID, "Directory %s is invalid"},
    {IDS_NEXT, "&Next"},
    {IDS_CANCEL, "&Cancel"},
    {IDS_HELP, "Help"},
    {IDS_FINISH, "&Finish"},
    {IDS_TITLE, "Quellmoor Installation Utility"},
    {IDS_INSTALL, "Install"},
    {IDS_ALREADY_RUNNING, "Installer already running"},
    {IDS_AVAILABLE_ON, "Available on"},
    {IDS_CREATE_DIRECTORY, "Directory %s doesn't exist. Create?"},
    {IDS_WARNING, "Warning"},
    {IDS_INSUFFICIENT_SPACE, "There is ensuficient disk space.\nInstallation may not be completed.\nContinue?"},
    {IDS_ERROR, "Error"},
    {IDS_CONFIRM_CANCEL, "Are you sure you want to cancel?"},
    {IDS_CANT_COPY, "Can't copy file\n"},
    {IDS_SOURCE_FILE, "Source file: %s\n"},
    {IDS_DESTINATION_FILE, "Destination file: %s\n"},
    {IDS_NOT_FOUND_OR_FULL, "File not found or disk is full"},
    {IDS_DIRECTX_FAILED, "DirectX Setup Failed"},
    {IDS_CANT_RESTART, "Can't restart. Probably you don't have enough privileges"},
    {IDS_FOLDER_UNREADABLE,
     "Setup can't read its own folder %s\nA name in its path holds a character that Windows names can't hold "
     "(\\ / : * ? \" < > |), or the path is too long.\nCopy the Setup files to another folder and run Setup again."},
};
const std::size_t stringTableSize = sizeof(stringTable) / sizeof(stringTable[0]);
