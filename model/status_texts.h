#pragma once

#include <QString>

// The status box's texts and colours (0xBBGGRR), for the panel operations and the file save.
namespace panel {

constexpr quint32 kYellow = 0xFFFF;
constexpr quint32 kGreen = 0xFF00;
constexpr quint32 kRed = 0xFF;

inline const QString kStartingRead = QStringLiteral("STARTING COMMUNICATIONS TO READ SWITCH PANEL CONFIGURATION");
inline const QString kStartingWrite = QStringLiteral("STARTING COMMUNICATIONS TO WRITE SWITCH PANEL CONFIGURATION");
inline const QString kPortNotOpened = QStringLiteral("COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED");
// The port's failure to open, then on a line of its own the device and the system's reason.
inline QString portNotOpenedText(const QString &device, const QString &reason)
{
    return kPortNotOpened + QChar(10) + device + QStringLiteral(": ") + reason;
}
inline const QString kNoResponse = QStringLiteral("COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND");
inline const QString kBadData = QStringLiteral("COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA");
inline const QString kReadSuccessful = QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL");
inline const QString kProgrammed = QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED");
inline const QString kIncompleteData =
    QStringLiteral("DATA MUST BE ENTERED (CLICKED) FOR ALL SWITCHES BEFORE WRITING DATA");
inline const QString kCommunicationsOk = QStringLiteral("COMMUNICATIONS OK");
inline const QString kOutOfRange = QStringLiteral("ERROR - DATA OUT OF RANGE");
inline const QString kCorrupted = QStringLiteral("COMMUNICATIONS CORRUPTED");
inline const QString kFailedToVerify = QStringLiteral("DATA FAILED TO VERIFY");
// What a comparison of the panel with a file (--verify) or with the window ends with: green when they
// match, red when they differ.
inline const QString kMatchesFile = QStringLiteral("SWITCH PANEL MATCHES THE FILE");
inline const QString kDiffersFromFile = QStringLiteral("SWITCH PANEL DIFFERS FROM THE FILE");
inline const QString kMatchesWindow = QStringLiteral("SWITCH PANEL MATCHES THE WINDOW");
inline const QString kDiffersFromWindow = QStringLiteral("SWITCH PANEL DIFFERS FROM THE WINDOW");
// What the command line and the history say of a panel operation stopped before it ended.
inline const QString kStoppedText = QStringLiteral("STOPPED BEFORE THE END");

inline const QString kMismatchTitle = QStringLiteral("SWITCH PANEL/CONFIGURATION MIS-MATCH");
inline const QString kReadMismatch = QStringLiteral(
    "THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO READ DATA FROM DOES NOT MATCH THIS CONFIGURATION PROGRAM");
inline const QString kWriteMismatch = QStringLiteral(
    "THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO WRITE DATA TO DOES NOT MATCH THIS CONFIGURATION PROGRAM");

} // namespace panel
