#pragma once
// Start-up decisions of the tray program that need no window.

#include <cstdint>
#include <optional>
#include <string>

namespace tray {

struct StartupSwitches {
    bool install = false;  // start a fresh copy and leave
    bool visible = false;  // show the main dialog at start
    bool exit = false;     // ask the running copy to exit (as its Exit command does), and leave
};

// Case-sensitive substrings anywhere in the command line; an absent line is an empty one.
// "/install" wins over "/exit", which wins over "/visible".
StartupSwitches ParseStartupSwitches(const char16_t* commandLine);

// "Vocabra:" + the user name, within 254 characters.
std::u16string InstanceEventName(const std::u16string& userName);

// Where the main dialog goes at start: the stored corner, or centred when a coordinate is absent
// or beyond the primary screen (compared unsigned, so a negative one is beyond too).
struct DialogPlacement {
    bool centre = true;
    std::int32_t x = 0;
    std::int32_t y = 0;
};
DialogPlacement PlaceDialog(std::optional<std::uint32_t> storedX,
                            std::optional<std::uint32_t> storedY,
                            std::uint32_t screenWidth,
                            std::uint32_t screenHeight);

// Whether the position is worth storing at exit: both edges greater than 0.
bool ShouldStorePosition(std::int32_t left, std::int32_t top);

}  // namespace tray
