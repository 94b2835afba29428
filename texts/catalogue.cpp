#include "texts/catalogue.h"

#include <array>
#include <cstddef>

#include "texts/chinese_texts.h"

namespace lumaro {

namespace {

struct Entry {
    TextId id;
    std::string_view chinese;
    std::string_view english;
};

using enum TextId;

// In the order of TextId; the checks below make a missing or misplaced text a build error.
constexpr Entry kEntries[] = {
    {Caption, LUMARO_TEXT_CAPTION, "Lumaro [Door Access Pro]"},
    {ExitButton, LUMARO_TEXT_EXIT, "Exit"},
    {SearchButton, LUMARO_TEXT_SEARCH, "Search"},
    {QuickEnableButton, LUMARO_TEXT_QUICK_ENABLE, "One-click setup"},
    {ApplyButton, LUMARO_TEXT_APPLY, "Apply"},
    {SyncTimeButton, LUMARO_TEXT_SYNC_TIME, "Set clock from PC"},
    {DisableWebButton, LUMARO_TEXT_DISABLE_WEB, "Web server off"},
    {ShowAdvanced, LUMARO_TEXT_SHOW_ADVANCED, "Advanced"},
    {HideAdvanced, LUMARO_TEXT_HIDE_ADVANCED, "Hide advanced"},
    {SerialLabel, LUMARO_TEXT_SERIAL_LABEL, "SN:"},
    {IpLabel, LUMARO_TEXT_IP_LABEL, "IP:"},
    {MaskLabel, LUMARO_TEXT_MASK_LABEL, "Mask:"},
    {GatewayLabel, LUMARO_TEXT_GATEWAY_LABEL, "Gateway:"},
    {DateFormatLabel, LUMARO_TEXT_DATE_FORMAT_LABEL, "Dates:"},
    {WebLanguageLabel, LUMARO_TEXT_WEB_LANGUAGE_LABEL, "Web page:"},

    {ColumnSerial, LUMARO_TEXT_COLUMN_SERIAL, "Serial"},
    {ColumnIp, LUMARO_TEXT_COLUMN_IP, "IP"},
    {ColumnMask, LUMARO_TEXT_COLUMN_MASK, "Mask"},
    {ColumnGateway, LUMARO_TEXT_COLUMN_GATEWAY, "Gateway"},
    {ColumnMac, LUMARO_TEXT_COLUMN_MAC, "MAC"},
    {ColumnHostIp, LUMARO_TEXT_COLUMN_HOST_IP, "PC address"},
    {ColumnWeb, LUMARO_TEXT_COLUMN_WEB, "Web"},
    {WebEnabled, LUMARO_TEXT_WEB_ENABLED, "On"},
    {WebNotEnabled, LUMARO_TEXT_WEB_NOT_ENABLED, "Off"},

    {DateYmdDash, LUMARO_TEXT_DATE_YMD_DASH, "yyyy-mm-dd"},
    {DateMdyDash, LUMARO_TEXT_DATE_MDY_DASH, "mm-dd-yyyy"},
    {DateDmyDash, LUMARO_TEXT_DATE_DMY_DASH, "dd-mm-yyyy"},
    {DateYmdSlash, LUMARO_TEXT_DATE_YMD_SLASH, "yyyy/mm/dd"},
    {DateMdySlash, LUMARO_TEXT_DATE_MDY_SLASH, "mm/dd/yyyy"},
    {DateDmySlash, LUMARO_TEXT_DATE_DMY_SLASH, "dd/mm/yyyy"},
    {WebLanguageChinese, LUMARO_TEXT_WEB_LANGUAGE_CHINESE, "Chinese"},
    {WebLanguageEnglish, LUMARO_TEXT_WEB_LANGUAGE_ENGLISH, "English"},

    {MessageCaption, LUMARO_TEXT_MESSAGE_CAPTION, "Lumaro"},
    {SocketsFailed, LUMARO_TEXT_SOCKETS_FAILED, "Windows Sockets could not be started."},
    {WebAccessFailed, LUMARO_TEXT_WEB_ACCESS_FAILED, "Web access to the controller failed!"},
    {ControllerUnreachable, LUMARO_TEXT_CONTROLLER_UNREACHABLE,
     "No answer from the controller!"},
    {SelectControllerFirst, LUMARO_TEXT_SELECT_CONTROLLER_FIRST, "Select a controller first!"},
    {ClockSet, LUMARO_TEXT_CLOCK_SET, "Controller clock set!"},
    {ClockNotSet, LUMARO_TEXT_CLOCK_NOT_SET, "Setting the clock failed!"},
    {AddressRefused, LUMARO_TEXT_ADDRESS_REFUSED,
     "Invalid IP address or subnet mask: nothing was written to the controller!"},

    // The language items read the same in either language: each in its own.
    {MenuChinese, "中文", "中文"},
    {MenuEnglish, "English", "English"},
    {MenuWhyMissing, "为什么找不到控制器?", "Why is a controller missing?"},
    {MenuSaveList, "保存列表…", "Save list…"},
    {MenuAbout, "关于 Lumaro", "About Lumaro"},
    {AboutText, "Lumaro 门禁控制器网络设置工具\n\n版本 {1}\n提交 {2}",
     "Lumaro, network set-up for door-access controllers\n\nVersion {1}\nCommit {2}"},
    {SaveListFilter, "CSV 文件 (*.csv)", "CSV files (*.csv)"},
    {SaveListFailed, "列表未能保存到 {1}:\n{2}", "The list could not be saved to {1}:\n{2}"},

    {VerdictOk, "正常", "ok"},
    {VerdictSkipped, "跳过", "skipped"},
    {VerdictNote, "注意", "note"},
    {VerdictProblem, "问题", "problem"},
    {VerdictUnknown, "未知", "unknown"},
    {VerdictAdvice, "建议", "advice"},
    {DoctorInterfaceUsed, "接口 {1}:用于搜索", "interface {1}: used"},
    {DoctorInterfaceDuplicate,
     "接口 {1}:用于搜索,但前面已有相同地址的接口:搜索两次,命令经由第一个",
     "interface {1}: used, but an earlier interface has the same address: searched twice, "
     "commands go through the first"},
    {DoctorInterfaceNoAddress, "接口 {1}:没有地址(0.0.0.0)", "interface {1}: no address (0.0.0.0)"},
    {DoctorInterfaceLoopback, "接口 {1}:环回地址,即本电脑自身",
     "interface {1}: loopback, this PC itself"},
    {DoctorInterfaceBeyondLimit, "接口 {1}:超出前 {2} 个接口,只搜索这些接口",
     "interface {1}: beyond the first {2} interfaces, which are all that is searched"},
    {DoctorInterfaceNoSocket, "接口 {1}:无法打开套接字(见下文)",
     "interface {1}: no socket (see below)"},
    {DoctorSocketsNotStarted, "套接字:系统的套接字层未能启动",
     "sockets: the system's socket layer did not start"},
    {DoctorAddressTableUnread, "接口:无法读取系统的地址表",
     "interfaces: the system's address table cannot be read"},
    {DoctorNoInterface,
     "接口:没有可用于搜索的接口:请把电脑接到控制器的交换机上,并给该接口设置 IPv4 地址",
     "interfaces: none to search through: connect this PC to the controllers' switch and give "
     "that interface an IPv4 address"},
    {DoctorStepCreate, "创建", "create"},
    {DoctorStepBind, "绑定", "bind"},
    {DoctorStepBlocking, "阻塞模式", "blocking mode"},
    {DoctorStepBroadcast, "广播", "broadcast"},
    {DoctorStepReceiveBuffer, "申请", "the request"},
    {DoctorStepFailed, "{1}失败:{2} ({3})", "{1} failed: {2} ({3})"},
    {DoctorSocketFailed, "套接字 {1}:{2}", "socket {1}: {2}"},
    {DoctorSocketFailedAfterBind, "套接字 {1}:已绑定(端口 {2}),{3}",
     "socket {1}: bound (port {2}), {3}"},
    {DoctorSocketBufferUnknown, "套接字 {1}:已绑定(端口 {2}),广播已开启,接收缓冲区大小未知",
     "socket {1}: bound (port {2}), broadcast on, receive buffer size unknown"},
    {DoctorSocketBuffer,
     "套接字 {1}:已绑定(端口 {2}),广播已开启,接收缓冲区获得 {3} 字节(申请 {4}{5})",
     "socket {1}: bound (port {2}), broadcast on, receive buffer {3} bytes granted ({4} "
     "asked{5})"},
    {DoctorBufferRequestFailed, ";{1}", "; {1}"},
    {DoctorBufferSmall, "{1}:控制器很多的网段上可能丢失部分回应",
     "{1}: on a crowded segment some replies may be lost"},
    {DoctorSearchNone, "通过 {1} 搜索:没有控制器回应", "search through {1}: no controller answered"},
    {DoctorSearchOne, "通过 {1} 搜索:1 台控制器回应", "search through {1}: 1 controller answered"},
    {DoctorSearchMany, "通过 {1} 搜索:{2} 台控制器回应",
     "search through {1}: {2} controllers answered"},
    {DoctorOn, "开启", "on"},
    {DoctorOff, "关闭", "off"},
    {DoctorUnknown, "未知", "unknown"},
    {DoctorInboundBlocked, "未经允许即阻止", "blocked unless allowed"},
    {DoctorInboundAllowed, "允许", "allowed"},
    {DoctorRepliesLetIn, "放行 3 秒", "let in for 3 s"},
    {DoctorRepliesNotLetIn, "不放行", "not let in"},
    {DoctorProfileDomain, "域", "domain"},
    {DoctorProfilePrivate, "专用", "private"},
    {DoctorProfilePublic, "公用", "public"},
    {DoctorProfileOff, "防火墙,{1}配置文件:关闭", "firewall, {1} profile: off"},
    {DoctorProfileState, "防火墙,{1}配置文件:防火墙{2},入站{3},广播的回应{4},{5}",
     "firewall, {1} profile: firewall {2}, inbound {3}, replies to broadcasts {4}, {5}"},
    {DoctorRuleBlocks, "规则 {1} 阻止本程序(阻止规则优先于任何允许规则)",
     "the rule {1} blocks this program (a block rule wins over any allow rule)"},
    {DoctorRulesBlock, "规则 {1} 阻止本程序(阻止规则优先于任何允许规则)",
     "the rules {1} block this program (a block rule wins over any allow rule)"},
    {DoctorRuleAllows, "有规则允许本程序", "a rule allows this program"},
    {DoctorNoRuleAllows, "且没有规则允许本程序", "and no rule allows this program"},
    {DoctorNoRule, "没有规则阻止或允许本程序", "no rule blocks or allows this program"},
    {DoctorRulesUnknown, "本程序的规则未知", "this program's rules unknown"},
    {DoctorFirewallNotAsked, "防火墙:本系统上未检查(只检查 Windows 防火墙)",
     "firewall: not checked on this system (only Windows Firewall is asked)"},
    {DoctorProfilesUnknown, "防火墙:系统没有说明哪些配置文件处于活动状态",
     "firewall: the system did not say which profiles are active"},
    {DoctorNetworksUnknown, "网络:系统没有列出已连接的网络",
     "networks: the system did not list the connected networks"},
    {DoctorNetworkNoName, "(无名称)", "(no name)"},
    {DoctorNetworkUnknown, "网络 {1}:类别未知", "network {1}: category unknown"},
    {DoctorNetworkPublic, "网络 {1}:公用", "network {1}: public"},
    {DoctorNetworkPrivate, "网络 {1}:专用或域", "network {1}: private or domain"},
    {DoctorRepairOneProfile,
     "Windows 防火墙在{1}配置文件中丢弃控制器的回应(来自端口 60000 的 UDP);要放行,请以管理员身份运行:",
     "Windows Firewall drops the controllers' replies (UDP from port 60000) in the {1} "
     "profile; to let them in, run as administrator:"},
    {DoctorRepairProfiles,
     "Windows 防火墙在{1}配置文件中丢弃控制器的回应(来自端口 60000 的 UDP);要放行,请以管理员身份运行:",
     "Windows Firewall drops the controllers' replies (UDP from port 60000) in the {1} "
     "profiles; to let them in, run as administrator:"},
    {DoctorAnd, "和", " and "},
    {DoctorMakePrivate, "或者,如果网络 {1} 是控制器所在的网络,把它设为专用网络",
     "or make the network {1} private if it is the controllers' one"},
    {DoctorFoundOne, "找到 1 台控制器", "found 1 controller"},
    {DoctorFoundMany, "找到 {1} 台控制器", "found {1} controllers"},
    {DoctorFoundNone, "没有控制器回应:请检查上面的接口、网线和交换机,以及控制器是否通电",
     "no controller answered: check the interfaces above, the cable and the switch, and that "
     "the controllers are powered"},

    {ConsoleMoved, "控制器 {1}:地址已从 {2} 改为 {3}", "controller {1}: moved from {2} to {3}"},
    {ConsoleKeptAddress, "控制器 {1}:保留原地址 {2}", "controller {1}: kept its address {2}"},
    {ConsoleWebServer, "Web 服务器:{1}", "web server: {1}"},
    {ConsoleWebAnswering, "已在端口 80 应答", "already answering on port 80"},
    {ConsoleWebNotConnected, "端口 80 不接受连接", "did not accept a connection on port 80"},
    {ConsoleWebSilent, "端口 80 在 1 秒内没有应答", "did not answer on port 80 within 1 s"},
    {ConsoleWebSwitchOnUnanswered, "{1}:开启命令没有回应", "{1}: the switch-on got no reply"},
    {ConsoleWebRestartUnanswered, "{1}:已开启,重启命令没有回应",
     "{1}: switched on, the restart got no reply"},
    {ConsoleWebSwitchedOn, "{1}:已开启,控制器已重启", "{1}: switched on, controller restarted"},
    {ConsolePage, "网页:{1}", "page: {1}"},
    {ConsolePageOpened, "网页:{1}(已在浏览器中打开)", "page: {1} (opened in the browser)"},
    {ConsoleNotDone, "控制器 {1} 未完成:{2}", "controller {1} is not done: {2}"},
    {ConsoleNotListedAfter, "运行结束时的搜索没有列出它",
     "the search at the end of its run does not list it"},
    {ConsoleListedElsewhere, "运行结束时的搜索列出它在另一个地址",
     "the search at the end of its run lists it at another address"},
    {ConsoleSettingsUnanswered, "写入 Web 设置没有回应,运行结束时的搜索列出 Web 服务器未启用",
     "no reply to the web settings write, and the search at the end of its run lists the web "
     "server off"},
    {ConsoleRestartUnanswered, "重启命令没有回应,运行结束时的搜索列出 Web 服务器未启用",
     "no reply to the restart, and the search at the end of its run lists the web server off"},
    {ConsoleWebStillOff, "运行结束时的搜索列出 Web 服务器未启用",
     "the search at the end of its run lists the web server off"},
    {ConsoleNoSuchSerial, "没有序列号为 {1} 的控制器回应",
     "no controller with the serial {1} answered"},
    {ConsoleNotListedAnyMore, "控制器 {1} 已不在列表中", "the controller {1} is not listed any more"},
    {ConsoleNotEveryFrameAnswered, "控制器没有回应每一帧",
     "the controller did not answer every frame"},
    {ConsoleWroteAddresses, "控制器 {1}:已写入地址 {2}、掩码 {3}、网关 {4},Web 服务器在端口 {5} 开启",
     "controller {1}: wrote address {2}, mask {3}, gateway {4} and the web server on at port "
     "{5}"},
    {ConsoleWebSwitchedOff, "控制器 {1}:Web 服务器已关闭,控制器已重启",
     "controller {1}: web server switched off, controller restarted"},
    {ConsoleClockSet, "控制器 {1}:时钟已设为电脑的本地时间",
     "controller {1}: clock set to the PC's local time"},
    {ConsoleAddressRefused, "{1}(掩码 {2})是{3}:未发送任何命令",
     "{1} under the mask {2} is {3}: nothing was sent"},
    {ConsoleHiddenModeGateway,
     "网关 2.9.4.6 只用于打开面板的隐藏按钮(此处请用 sync-time 和 web-off):未发送任何命令",
     "the gateway 2.9.4.6 only opens the panel's hidden buttons (use sync-time and web-off "
     "here): nothing was sent"},
    {FaultNoAddress, "空地址(空白或 0.0.0.0)", "no address (blank or 0.0.0.0)"},
    {FaultLimitedBroadcast, "广播地址 255.255.255.255", "the broadcast address 255.255.255.255"},
    {FaultLoopback, "回环地址", "a loopback address"},
    {FaultMulticastOrReserved, "组播或保留地址", "a multicast or reserved address"},
    {FaultNoMask, "空子网掩码(空白或 0.0.0.0)", "no subnet mask (blank or 0.0.0.0)"},
    {FaultMaskNotContiguous, "不连续的子网掩码", "a subnet mask that is not a run of ones"},
    {FaultNetworkAddress, "其子网的网络地址", "the network address of its subnet"},
    {FaultSubnetBroadcast, "其子网的广播地址", "the broadcast address of its subnet"},
    {ConfirmRewritesOne, "将改写 1 台控制器。", "This rewrites 1 controller."},
    {ConfirmRewritesMany, "将改写 {1} 台控制器。", "This rewrites {1} controllers."},
    {ConfirmRewritesAndRestartsOne, "将改写并重启 1 台控制器", "This rewrites and restarts 1 controller"},
    {ConfirmRewritesAndRestartsMany, "将改写并重启 {1} 台控制器",
     "This rewrites and restarts {1} controllers"},
    {ConfirmRewritesSomeRestarted, "将改写 {1} 台控制器,其中 {2} 台会重启",
     "This rewrites {1} controllers and restarts {2} of them"},
    {ConfirmRestartWarning, "(重启可能使门禁短暂中断)。", " (a restart can briefly interrupt a door)."},
    {ConfirmTypeYes, "输入 yes 继续:", " Type yes to go on: "},
    {NotConfirmed, "未确认:没有写入任何内容。", "Not confirmed: nothing was written."},
    {NotConfirmedNoTerminal, "未确认:没有可以回答的终端。加上 --yes 可不经询问继续;没有写入任何内容。",
     "Not confirmed: no terminal to answer at. Add --yes to go on without a question; nothing "
     "was written."},
};

constexpr std::size_t kCount = static_cast<std::size_t>(TextId::Count);

constexpr bool EveryTextInPlaceInBothLanguages() {
    if (std::size(kEntries) != kCount) return false;
    for (std::size_t i = 0; i < kCount; ++i) {
        if (static_cast<std::size_t>(kEntries[i].id) != i) return false;
        if (kEntries[i].chinese.empty() || kEntries[i].english.empty()) return false;
    }
    return true;
}
static_assert(EveryTextInPlaceInBothLanguages(),
              "every TextId needs its entry, in TextId's order, with a Chinese and an English "
              "text");

}  // namespace

std::string_view Text(TextId id, Language language) {
    const Entry& entry = kEntries[static_cast<std::size_t>(id)];
    return language == Language::English ? entry.english : entry.chinese;
}

std::string FormatText(TextId id, Language language,
                       std::initializer_list<std::string_view> values) {
    const std::string_view pattern = Text(id, language);
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        // "{N}" with N from 1 to 9.
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
            pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const std::size_t index = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (index < values.size()) {
                text += *(values.begin() + index);
                i += 2;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

}  // namespace lumaro
