#pragma once

#include <string_view>

namespace px {

inline constexpr std::u16string_view kProgressZh =
    u"正在查询USB打印机，请确认打印机是否处于打开状态:";
inline constexpr std::u16string_view kProgressEn = u"Please open the printer power:";
// One variant only: the mass-storage warning is Chinese whatever the language.
inline constexpr std::u16string_view kMassStorageText = u"目前打印在U盘模式下，请重启打印机";

}  // namespace px
