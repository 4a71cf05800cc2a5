#include "controls/sim/accessible_lines.h"

#include "controls/sim/recording_surface.h"

namespace px::sim {

std::string RoleName(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::kTitleBar:
      return "title bar";
    case AccessibleRole::kPushButton:
      return "push button";
    case AccessibleRole::kCheckButton:
      return "check button";
  }
  return "role " + std::to_string(static_cast<std::int32_t>(role));
}

std::string StateNames(std::uint32_t state) {
  static constexpr struct {
    std::uint32_t bit;
    const char* name;
  } kNames[] = {{kAccessibleUnavailable, "unavailable"}, {kAccessibleFocused, "focused"},
                {kAccessiblePressed, "pressed"},         {kAccessibleChecked, "checked"},
                {kAccessibleHotTracked, "hot tracked"},  {kAccessibleInvisible, "invisible"},
                {kAccessibleFocusable, "focusable"}};
  std::string names;
  for (const auto& n : kNames) {
    if ((state & n.bit) == 0) continue;
    if (!names.empty()) names += ',';
    names += n.name;
  }
  return names.empty() ? "normal" : names;
}

std::vector<std::string> AccessibleLines(const std::string& control,
                                         const AccessibleDescription& description) {
  std::vector<std::string> lines;
  for (std::int32_t child = 0; const AccessibleElement* e = description.Element(child); ++child) {
    lines.push_back(
        OpLine({"accessible", control, std::to_string(child), RoleName(e->role),
                EscapeText(e->name), StateNames(e->state), EscapeText(e->default_action)}));
  }
  return lines;
}

}  // namespace px::sim
