#pragma once
// Every text that Lumaro shows a person, by what it is; the catalogue (texts/catalogue.cpp)
// holds each in Chinese and English. "{1}", "{2}"... in a text stand for the values that
// FormatText puts in.

namespace lumaro {

enum class TextId {
    // The main window: caption, buttons, labels (the template's texts).
    Caption,
    ExitButton,
    SearchButton,
    QuickEnableButton,
    ApplyButton,
    SyncTimeButton,
    DisableWebButton,
    ShowAdvanced,
    HideAdvanced,
    SerialLabel,
    IpLabel,
    MaskLabel,
    GatewayLabel,
    DateFormatLabel,
    WebLanguageLabel,
    // The list's column headings and the web column's values.
    ColumnSerial,
    ColumnIp,
    ColumnMask,
    ColumnGateway,
    ColumnMac,
    ColumnHostIp,
    ColumnWeb,
    WebEnabled,
    WebNotEnabled,
    // The two combo boxes' items, in the order whose index the controller is sent.
    DateYmdDash,
    DateMdyDash,
    DateDmyDash,
    DateYmdSlash,
    DateMdySlash,
    DateDmySlash,
    WebLanguageChinese,
    WebLanguageEnglish,
    // Message boxes and their caption.
    MessageCaption,
    SocketsFailed,
    WebAccessFailed,
    ControllerUnreachable,
    SelectControllerFirst,
    ClockSet,
    ClockNotSet,
    AddressRefused,
    // The window's system menu and what it opens.
    MenuChinese,
    MenuEnglish,
    MenuWhyMissing,
    MenuSaveList,
    MenuAbout,
    AboutText,         // {1} version, {2} commit
    SaveListFilter,    // the Save As dialog's file type
    SaveListFailed,    // {1} path, {2} the system's reason
    // The doctor's report: verdicts, then findings.
    VerdictOk,
    VerdictSkipped,
    VerdictNote,
    VerdictProblem,
    VerdictUnknown,
    VerdictAdvice,
    DoctorInterfaceUsed,         // {1} address/mask
    DoctorInterfaceDuplicate,
    DoctorInterfaceNoAddress,
    DoctorInterfaceLoopback,
    DoctorInterfaceBeyondLimit,  // {2} how many are searched
    DoctorInterfaceNoSocket,
    DoctorSocketsNotStarted,
    DoctorAddressTableUnread,
    DoctorNoInterface,
    DoctorStepCreate,
    DoctorStepBind,
    DoctorStepBlocking,
    DoctorStepBroadcast,
    DoctorStepReceiveBuffer,
    DoctorStepFailed,            // {1} step, {2} the system's text, {3} its number
    DoctorSocketFailed,          // {1} address, {2} the failed step
    DoctorSocketFailedAfterBind, // {1} address, {2} port, {3} the failed step
    DoctorSocketBufferUnknown,   // {1} address, {2} port
    DoctorSocketBuffer,          // {1} address, {2} port, {3} granted, {4} asked, {5} note
    DoctorBufferRequestFailed,   // {1} the failed request
    DoctorBufferSmall,           // {1} the socket line
    DoctorSearchNone,            // {1} address
    DoctorSearchOne,
    DoctorSearchMany,            // {2} count
    DoctorOn,
    DoctorOff,
    DoctorUnknown,
    DoctorInboundBlocked,
    DoctorInboundAllowed,
    DoctorRepliesLetIn,
    DoctorRepliesNotLetIn,
    DoctorProfileDomain,
    DoctorProfilePrivate,
    DoctorProfilePublic,
    DoctorProfileOff,            // {1} profile
    DoctorProfileState,          // {1} profile, {2} on/off, {3} inbound, {4} replies, {5} rules
    DoctorRuleBlocks,            // {1} the rule's name
    DoctorRulesBlock,            // {1} the rules' names
    DoctorRuleAllows,
    DoctorNoRuleAllows,
    DoctorNoRule,
    DoctorRulesUnknown,
    DoctorFirewallNotAsked,
    DoctorProfilesUnknown,
    DoctorNetworksUnknown,
    DoctorNetworkNoName,
    DoctorNetworkUnknown,        // {1} name
    DoctorNetworkPublic,
    DoctorNetworkPrivate,
    DoctorRepairOneProfile,      // {1} profile
    DoctorRepairProfiles,        // {1} profiles
    DoctorAnd,
    DoctorMakePrivate,           // {1} network
    DoctorFoundOne,
    DoctorFoundMany,             // {1} count
    DoctorFoundNone,

    // The console's own lines (lumaro-cli), about one controller and the question before a
    // batch. Tables for scripts (csv, json, the batch's summary) keep English values.
    ConsoleMoved,                  // {1} serial, {2} from, {3} to
    ConsoleKeptAddress,            // {1} serial, {2} address
    ConsoleWebServer,              // {1} what the web port did
    ConsoleWebAnswering,
    ConsoleWebNotConnected,
    ConsoleWebSilent,
    ConsoleWebSwitchOnUnanswered,  // {1} what the web port did
    ConsoleWebRestartUnanswered,   // {1} what the web port did
    ConsoleWebSwitchedOn,          // {1} what the web port did
    ConsolePage,                   // {1} the page's address
    ConsolePageOpened,             // {1} the page's address
    ConsoleNotDone,                // {1} serial, {2} why
    ConsoleNotListedAfter,
    ConsoleListedElsewhere,
    ConsoleSettingsUnanswered,
    ConsoleRestartUnanswered,
    ConsoleWebStillOff,
    ConsoleNoSuchSerial,           // {1} serial
    ConsoleNotListedAnyMore,       // {1} serial
    ConsoleNotEveryFrameAnswered,
    ConsoleWroteAddresses,         // {1} serial, {2} address, {3} mask, {4} gateway, {5} port
    ConsoleWebSwitchedOff,         // {1} serial
    ConsoleClockSet,               // {1} serial
    ConsoleAddressRefused,         // {1} address, {2} mask, {3} the fault
    ConsoleHiddenModeGateway,
    FaultNoAddress,
    FaultLimitedBroadcast,
    FaultLoopback,
    FaultMulticastOrReserved,
    FaultNoMask,
    FaultMaskNotContiguous,
    FaultNetworkAddress,
    FaultSubnetBroadcast,
    ConfirmRewritesOne,
    ConfirmRewritesMany,           // {1} count
    ConfirmRewritesAndRestartsOne,
    ConfirmRewritesAndRestartsMany,  // {1} count
    ConfirmRewritesSomeRestarted,  // {1} rewritten, {2} restarted
    ConfirmRestartWarning,
    ConfirmTypeYes,
    NotConfirmed,
    NotConfirmedNoTerminal,

    Count  // not a text: how many there are
};

}  // namespace lumaro
