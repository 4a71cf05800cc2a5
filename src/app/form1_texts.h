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

inline constexpr std::u16string_view kSpoolerCommand = u"cmd /c net start spooler";

}  // namespace px
