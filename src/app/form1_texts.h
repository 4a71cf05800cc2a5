#pragma once

#include <string_view>

namespace px {

// The window's texts, Chinese and English. Each caller picks the variant with the condition
// its step uses (some compare the language flag with 0, some with 1).
inline constexpr std::u16string_view kCaption = u"QuorilV1.20181108";

inline constexpr std::u16string_view kProviderZh = u"本软件由Veldrin股份有限公司提供";
inline constexpr std::u16string_view kProviderEn =
    u"This software is provided by Veldrin  Co., Ltd.";
inline constexpr std::u16string_view kWaitZh = u"打印驱动安装中请你耐心等待";
inline constexpr std::u16string_view kWaitEn = u"The driver is installing. Please waitting.";
inline constexpr std::u16string_view kSpoolerZh = u"启动打印服务";
inline constexpr std::u16string_view kSpoolerEn = u"Sart print spooler";

inline constexpr std::u16string_view kDetectingZh = u"正在检测USB打印机";
inline constexpr std::u16string_view kDetectingEn = u"detecting the usb printer";
inline constexpr std::u16string_view kFoundZh = u"检测到USB打印机型号:";
inline constexpr std::u16string_view kFoundEn = u"USB PID:";

inline constexpr std::u16string_view kPortZh = u"检测到打印机虚拟端口:";
inline constexpr std::u16string_view kPortEn = u"USB PORT:";
inline constexpr std::u16string_view kCopyingZh = u"正在将打印机驱动程序复制到你的计算机..";
inline constexpr std::u16string_view kCopyingEn = u"Driver is installing!..";

// The installation step.
inline constexpr std::u16string_view kLoadingZh = u"加载驱动文件..";
inline constexpr std::u16string_view kLoadingEn = u"Loading driver file..";
inline constexpr std::u16string_view kInstallingZh = u"安装标准驱动..";
inline constexpr std::u16string_view kInstallingEn = u"install driver..";
inline constexpr std::u16string_view kInstalledZh = u"驱动安装完成";
inline constexpr std::u16string_view kInstalledEn = u"install successful!";

// The closing count: head + n + tail.
inline constexpr std::u16string_view kCountZh = u"打印机驱动安装完成:";
inline constexpr std::u16string_view kCountZhTail = u"s(5秒后自动关闭)";
inline constexpr std::u16string_view kCountEn = u"Install successful!";
inline constexpr std::u16string_view kCountEnTail = u"s(5)";

// The final box: success, or failure with its cause on a second line.
inline constexpr std::u16string_view kSucceededZh = u"驱动安装成功!!";
inline constexpr std::u16string_view kSucceededEn = u"Driver install succefull!";
inline constexpr std::u16string_view kFailedZh = u"驱动安装失败!!";
inline constexpr std::u16string_view kFailedEn = u"Driver install failed!";
inline constexpr std::u16string_view kInfMissingZh = u"找不到驱动文件:";
inline constexpr std::u16string_view kInfMissingEn = u"Driver file not found:";
inline constexpr std::u16string_view kNotRegisteredZh = u"打印机未注册:";
inline constexpr std::u16string_view kNotRegisteredEn = u"Printer not registered:";
inline constexpr std::u16string_view kTimedOutZh = u"安装超时";
inline constexpr std::u16string_view kTimedOutEn = u"Installation timed out";

inline constexpr std::u16string_view kSpoolerCommand = u"cmd /c net start spooler";

}  // namespace px
