#pragma once
// The window's Chinese texts, UTF-8, as the program has always shown them. The string table
// and the dialog template of lumaro.rc are built from these, and the catalogue
// (texts/catalogue.cpp) takes its Chinese from them, so the window, its re-texting and the
// console never drift apart. Plain macros: the resource compiler reads this file too.

// The dialog template's captions.
#define LUMARO_TEXT_CAPTION "Lumaro [专业门禁]"
#define LUMARO_TEXT_EXIT "退出"
#define LUMARO_TEXT_SEARCH "搜索控制器"
#define LUMARO_TEXT_QUICK_ENABLE "一键设置 快速启用"
#define LUMARO_TEXT_IP_LABEL "IP:"
#define LUMARO_TEXT_MASK_LABEL "子网掩码:"
#define LUMARO_TEXT_GATEWAY_LABEL "网关:"
#define LUMARO_TEXT_APPLY "设置更新"
#define LUMARO_TEXT_SERIAL_LABEL "SN:"
#define LUMARO_TEXT_SYNC_TIME "以电脑时间校准控制器"
#define LUMARO_TEXT_DISABLE_WEB "停用WEB功能"
#define LUMARO_TEXT_DATE_FORMAT_LABEL "日期显示:"
#define LUMARO_TEXT_WEB_LANGUAGE_LABEL "WEB界面:"

// The string table.
#define LUMARO_TEXT_SOCKETS_FAILED "Windows 套接字初始化失败。"
#define LUMARO_TEXT_MESSAGE_CAPTION "Lumaro"
#define LUMARO_TEXT_WEB_ACCESS_FAILED "WEB访问控制器失败!"
#define LUMARO_TEXT_CONTROLLER_UNREACHABLE "控制器通信失败!"
#define LUMARO_TEXT_SELECT_CONTROLLER_FIRST "请先选择控制器!"
#define LUMARO_TEXT_CLOCK_SET "校准时间成功!"
#define LUMARO_TEXT_CLOCK_NOT_SET "校准时间失败!"
#define LUMARO_TEXT_COLUMN_SERIAL "控制器SN"
#define LUMARO_TEXT_COLUMN_IP "IP"
#define LUMARO_TEXT_COLUMN_MASK "掩码"
#define LUMARO_TEXT_COLUMN_GATEWAY "网关"
#define LUMARO_TEXT_COLUMN_MAC "MAC地址"
#define LUMARO_TEXT_COLUMN_HOST_IP "电脑IP"
#define LUMARO_TEXT_DATE_YMD_DASH "年-月-日"
#define LUMARO_TEXT_DATE_MDY_DASH "月-日-年"
#define LUMARO_TEXT_DATE_DMY_DASH "日-月-年"
#define LUMARO_TEXT_DATE_YMD_SLASH "年/月/日"
#define LUMARO_TEXT_DATE_MDY_SLASH "月/日/年"
#define LUMARO_TEXT_DATE_DMY_SLASH "日/月/年"
#define LUMARO_TEXT_WEB_LANGUAGE_CHINESE "中文"
#define LUMARO_TEXT_WEB_LANGUAGE_ENGLISH "英文"
#define LUMARO_TEXT_COLUMN_WEB "WEB"
#define LUMARO_TEXT_WEB_ENABLED "启用"
#define LUMARO_TEXT_WEB_NOT_ENABLED "未启用"
#define LUMARO_TEXT_SHOW_ADVANCED "高级选项"
#define LUMARO_TEXT_HIDE_ADVANCED "隐藏高级选项"
#define LUMARO_TEXT_ADDRESS_REFUSED "IP地址或子网掩码无效,未写入控制器!"
