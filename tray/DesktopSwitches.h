#pragma once
// The Linux desktop program's arguments: "--install", "--visible" and "--exit", each a whole
// argument, with the same precedence as the Windows program's switches.

#include <string>
#include <vector>

#include "tray/StartupRules.h"

namespace tray {

struct DesktopArguments {
    StartupSwitches switches;
    std::vector<std::string> unknown;  // arguments that are none of the switches
};

DesktopArguments ParseDesktopArguments(const std::vector<std::string>& arguments);

}  // namespace tray
