#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace px {

// The installer's texts. A text with two variants stands once, as its pair; the window's
// language flag picks the variant in one place, TextFor(). Texts with one variant stand alone
// at the end.

enum class TextId : std::size_t {
  kProvider,    // Label2
  kWait,        // Label1(0) at start-up
  kSpooler,     // Label1(1) at start-up, dots follow
  kDetecting,   // Label1(2) when the scan begins
  kProgress,    // Label1(2) during a pass: + ScanCounter + "s"
  kFound,       // Label1(2): + model name
  kPort,        // Label1(4): + port name
  kCopying,     // Label1(5)
  kLoading,     // Label1(6)
  kInstalling,  // Label1(0) before the command starts
  kInstalled,   // Label1(1) after it started
  kCountHead,   // the closing count: head + n + tail
  kCountTail,
  kSucceeded,       // the final box
  kFailed,          // the final box, a cause on its second line
  kInfMissing,      // cause: + INF path
  kNotRegistered,   // cause: + model name
  kTimedOut,        // cause
  kArm64Unsigned,   // why a package fails on ARM64: a line after the cause
  kPackageChanged,  // cause: + the file that differs from the release's package
  // A queue of the model's name is there before the installation.
  kAlreadyRegistered,  // Label1(1): + port name
  kMovedHead,          // Label1(1): head + old port + tail + new port
  kMovedTail,
  kMoveFailed,    // cause: + port name + " (" + kErrorWord + code + ")"
  kNoUsbPort,     // cause: + the port the queue stays on
  kForeignQueue,  // cause: + the queue's driver
  kErrorWord,     // "error" before a Windows error code
  // Removal (/uninstall): boxes without the window.
  kRemoveAsk,     // the question, the queues and drivers on the lines below
  kRemoved,       // the closing box: what was removed on the lines below
  kRemoveFailed,  // the closing box: what could not be removed on the lines below
  kNothingToRemove,
  kDriverItem,  // a line naming a driver: + driver name
  // What this Windows refuses, found before the installation.
  kProtectedPrint,      // cause
  kProtectedPrintHelp,  // what an administrator can do, in the box
  kSignatureHead,       // cause: head + level + tail
  kSignatureTail,
  kSignatureHelp,      // what an administrator can do, in the box
  kAdminCan,           // the status line under a cause
  kDeviceControlHead,  // the warning: head + "1A86/<pid>" + tail
  kDeviceControlTail,
  kCount_
};

struct TextPair {
  std::u16string_view zh;
  std::u16string_view en;
};

inline constexpr std::array<TextPair, static_cast<std::size_t>(TextId::kCount_)> kTextPairs = {{
    {u"本软件由Veldrin股份有限公司提供", u"This software is provided by Veldrin  Co., Ltd."},
    {u"打印驱动安装中请你耐心等待", u"The driver is installing. Please waitting."},
    {u"启动打印服务", u"Sart print spooler"},
    {u"正在检测USB打印机", u"detecting the usb printer"},
    {u"正在查询USB打印机，请确认打印机是否处于打开状态:", u"Please open the printer power:"},
    {u"检测到USB打印机型号:", u"USB PID:"},
    {u"检测到打印机虚拟端口:", u"USB PORT:"},
    {u"正在将打印机驱动程序复制到你的计算机..", u"Driver is installing!.."},
    {u"加载驱动文件..", u"Loading driver file.."},
    {u"安装标准驱动..", u"install driver.."},
    {u"驱动安装完成", u"install successful!"},
    {u"打印机驱动安装完成:", u"Install successful!"},
    {u"s(5秒后自动关闭)", u"s(5)"},
    {u"驱动安装成功!!", u"Driver install succefull!"},
    {u"驱动安装失败!!", u"Driver install failed!"},
    {u"找不到驱动文件:", u"Driver file not found:"},
    {u"打印机未注册:", u"Printer not registered:"},
    {u"安装超时", u"Installation timed out"},
    {u"ARM64 版 Windows 只安装经微软 WHQL 签名的驱动程序包",
     u"ARM64 Windows installs only driver packages signed by Microsoft (WHQL)"},
    {u"驱动程序包已被改动:", u"Driver package changed:"},
    {u"打印机已注册在端口:", u"Printer already registered on port:"},
    {u"打印机端口已从", u"Printer moved from port "},
    {u"改为", u" to "},
    {u"打印机无法移到端口:", u"Printer cannot be moved to port:"},
    {u"未找到打印机的USB端口,打印机仍在端口:", u"No USB port found, the printer stays on port:"},
    {u"同名打印机使用其他驱动:", u"A printer of this name uses another driver:"},
    {u"错误", u"error"},
    {u"是否删除以下打印机及其驱动?", u"Remove these printers and their drivers?"},
    {u"已删除:", u"Removed:"},
    {u"无法删除:", u"Could not remove:"},
    {u"没有需要删除的打印机或驱动", u"No printer or driver to remove"},
    {u"驱动:", u"Driver:"},
    {u"Windows 受保护的打印模式已开启,只允许微软的 IPP 类驱动程序打印",
     u"Windows protected print mode is on: only Microsoft's IPP class driver may print"},
    {u"管理员可以关闭它:设置 > 蓝牙和其他设备 > 打印机和扫描仪 > Windows 受保护的打印模式;"
     u"组策略:计算机配置 > 管理模板 > 打印机 > 配置 Windows 受保护的打印;"
     u"Intune:./Device/Vendor/MSFT/Policy/Config/Printers/ConfigureWindowsProtectedPrint",
     u"An administrator can turn it off: Settings > Bluetooth & devices > Printers & scanners > "
     u"Windows protected print mode; Group Policy: Computer Configuration > Administrative "
     u"Templates > Printers > Configure Windows protected print; Intune: "
     u"./Device/Vendor/MSFT/Policy/Config/Printers/ConfigureWindowsProtectedPrint"},
    {u"打印驱动签名验证级别 ", u"The print driver signature validation level "},
    {u" 不允许安装本驱动程序包", u" does not admit this driver package"},
    {u"管理员可以放宽它:组策略:计算机配置 > 管理模板 > 打印机 > 管理打印驱动程序签名验证"
     u"(允许所有有效签名的驱动程序);"
     u"Intune:./Device/Vendor/MSFT/Policy/Config/Printers/ConfigureDriverValidationLevel = 4",
     u"An administrator can relax it: Group Policy: Computer Configuration > Administrative "
     u"Templates > Printers > Manage Print Driver signature validation (Allow all validly signed "
     u"drivers); Intune: ./Device/Vendor/MSFT/Policy/Config/Printers/ConfigureDriverValidationLevel"
     u" = 4"},
    {u"请管理员更改此策略后再安装",
     u"Ask an administrator to change this policy, then install again"},
    {u"USB 打印设备控制已开启:管理员将 ",
     u"USB print device control is on: printing to this "
     u"printer is refused until an administrator adds "},
    {u" 加入已批准的 USB 打印设备列表(ApprovedUsbPrintDevices)之前,无法打印到此打印机",
     u" to the list of approved USB print devices (ApprovedUsbPrintDevices)"},
}};

// The language flag for a user's UI language (a LANGID): 0, the Chinese texts, where
// PRIMARYLANGID(language) == LANG_CHINESE; 1, the English ones, for any other language.
constexpr std::int16_t LanguageFlagFor(std::uint16_t ui_language) {
  constexpr std::uint16_t kLangChinese = 0x04;
  return (ui_language & 0x3FF) == kLangChinese ? 0 : 1;
}

// The variant the language flag selects: 0 the Chinese one, any other value the English one.
// (The flag only ever holds 0 or 1, so the steps that test it against 1 pick the same.)
constexpr std::u16string_view TextFor(TextId id, std::int16_t language_flag) {
  const TextPair& pair = kTextPairs[static_cast<std::size_t>(id)];
  return language_flag == 0 ? pair.zh : pair.en;
}

// Texts with one variant.
inline constexpr std::u16string_view kCaption = u"QuorilV1.20181108";
// The mass-storage warning is Chinese whatever the language.
inline constexpr std::u16string_view kMassStorageText = u"目前打印在U盘模式下，请重启打印机";
// /d: without the AutoRun commands of the user's profile (HKCU\Software\Microsoft\Command
// Processor), which the unelevated half of an administrator can write.
inline constexpr std::u16string_view kSpoolerCommand = u"cmd /d /c net start spooler";
// The program's title: its message boxes carry it, and the log names them by it.
inline constexpr std::u16string_view kTitle = u"px-installer";

}  // namespace px
