#pragma once
// Where a dialog's information page comes from. The pages ship with the program: the string
// table holds each page's path relative to the program folder. An absolute http or https address
// in the string stands as it is, and a base address in the configuration ("dialog.pages.url")
// puts the relative paths under it instead, so that tests can serve the pages themselves.

#include <string>

namespace dialogserver {

constexpr char16_t kPagesBaseKey[] = u"dialog.pages.url";

struct PageLocation {
    bool isFile = false;  // `where` is a file path, to be turned into a file: address
    std::u16string where;
};

// `entry`: the string table's text; `baseAddress`: the configuration's value ("" when none);
// `programFolder`: the program's folder, ending in a separator.
PageLocation LocateInformationPage(const std::u16string& entry,
                                   const std::u16string& baseAddress,
                                   const std::u16string& programFolder);

}  // namespace dialogserver
