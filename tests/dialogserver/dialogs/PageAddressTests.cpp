// The information page is known by its address: a page on the disk by its file, whichever way
// the browser writes that file's address; a page from the web by its exact address.
#include <gtest/gtest.h>

#include "dialogserver/dialogs/DocumentComplete.h"
#include "dialogserver/dialogs/PageAddress.h"
#include "foundation/text/Utf.h"

namespace {
using dialogserver::dialogs::ClassifyCompletedDocument;
using dialogserver::dialogs::CompletedDocument;
using dialogserver::dialogs::FileAddressPath;
using dialogserver::dialogs::IsSamePageAddress;

// As the dialog builds it from the program folder (UrlCreateFromPathW).
constexpr char16_t kShippedPage[] =
    u"file:///C:/Users/\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c/AppData/Local/"
    u"Programs/Vocabra%20Test/pages/en/lingvo.html";

TEST(PageAddress, TheInformationPageOnDiskIsKnownByItsFile)
{
    struct Case {
        const char16_t* reported;
        bool same;
    } const cases[] = {
        {kShippedPage, true},
        // Escaped UTF-8, in either letter case of the hex digits.
        {u"file:///C:/Users/%D0%9F%D0%BE%D0%BB%D1%8C%D0%B7%D0%BE%D0%B2%D0%B0%D1%82%D0%B5%D0%BB%D1%8C/AppData/"
         u"Local/Programs/Vocabra%20Test/pages/en/lingvo.html",
         true},
        {u"file:///C:/Users/%d0%9f%d0%be%d0%bb%d1%8c%d0%b7%d0%be%d0%b2%d0%b0%d1%82%d0%b5%d0%bb%d1%8c/AppData/"
         u"Local/Programs/Vocabra%20Test/pages/en/lingvo.html",
         true},
        // The space as it is, and the path in Windows' own form.
        {u"file:///C:/Users/\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c/AppData/Local/"
         u"Programs/Vocabra Test/pages/en/lingvo.html",
         true},
        {u"file://C:\\Users\\\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c\\AppData\\"
         u"Local\\Programs\\Vocabra Test\\pages\\en\\lingvo.html",
         true},
        {u"C:\\Users\\\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c\\AppData\\Local\\"
         u"Programs\\Vocabra Test\\pages\\en\\lingvo.html",
         true},
        // Another letter case, Cyrillic included; a host named localhost; the old "|" drive.
        {u"FILE:///c:/users/\u043f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c/appdata/local/"
         u"programs/VOCABRA%20TEST/PAGES/EN/LINGVO.HTML",
         true},
        {u"file://localhost/C:/Users/%D0%9F%D0%BE%D0%BB%D1%8C%D0%B7%D0%BE%D0%B2%D0%B0%D1%82%D0%B5%D0%BB%D1%8C/"
         u"AppData/Local/Programs/Vocabra%20Test/pages/en/lingvo.html",
         true},
        {u"file:///C|/Users/\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c/AppData/Local/"
         u"Programs/Vocabra%20Test/pages/en/lingvo.html",
         true},
        // Other files: another page, a longer name, a folder of the path, another drive or host.
        {u"file:///C:/Users/%D0%9F%D0%BE%D0%BB%D1%8C%D0%B7%D0%BE%D0%B2%D0%B0%D1%82%D0%B5%D0%BB%D1%8C/AppData/"
         u"Local/Programs/Vocabra%20Test/pages/en/multilex.html",
         false},
        {u"file:///C:/Users/\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c/AppData/Local/"
         u"Programs/Vocabra%20Test/pages/en/lingvo.html.bak",
         false},
        {u"file:///C:/Users/\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c/AppData/Local/"
         u"Programs/Vocabra%20Test/pages/en/",
         false},
        {u"file:///C:/Users/\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c/AppData/Local/"
         u"Programs/Vocabra%2520Test/pages/en/lingvo.html",
         false},
        {u"file:///D:/Users/\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c/AppData/Local/"
         u"Programs/Vocabra%20Test/pages/en/lingvo.html",
         false},
        {u"file://server/C:/Users/\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c/AppData/"
         u"Local/Programs/Vocabra%20Test/pages/en/lingvo.html",
         false},
        // The same path on a web server is another page.
        {u"http:///C:/Users/\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c/AppData/Local/"
         u"Programs/Vocabra%20Test/pages/en/lingvo.html",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text::Utf16ToUtf8(c.reported));
        EXPECT_EQ(ClassifyCompletedDocument(std::u16string(c.reported), kShippedPage),
                  c.same ? CompletedDocument::InformationPage : CompletedDocument::ResultPage);
    }
}

TEST(PageAddress, FileAddressPath_DecodesTheAddressOfAFile)
{
    struct Case {
        const char16_t* address;
        std::optional<std::u16string> path;
    } const cases[] = {
        {u"file:///C:/a%20b/c.html", u"C:\\a b\\c.html"},
        {u"file://C:\\a b\\c.html", u"C:\\a b\\c.html"},
        {u"file:/C:/x", u"C:\\x"},
        {u"file:C:/x", u"C:\\x"},
        {u"file:///c|/x", u"c:\\x"},
        {u"file://LocalHost/C:/x", u"C:\\x"},
        {u"file://server/share/x", u"\\\\server\\share\\x"},
        {u"file:////server/share/x", u"\\\\server\\share\\x"},
        {u"C:/x/y", u"C:\\x\\y"},
        {u"\\\\server\\share", u"\\\\server\\share"},
        // Escapes: UTF-8 decoded; a run that is not UTF-8 stays, its digits in upper case; a
        // lone or broken "%" stays as it is; an escaped "%" is one.
        {u"file:///C:/%D0%BA%D0%BE%D1%82", u"C:\\\u043a\u043e\u0442"},
        {u"file:///C:/%e9t%C3%A9", u"C:\\%E9t\u00e9"},
        {u"file:///C:/100%/%zz/%4", u"C:\\100%\\%zz\\%4"},
        {u"file:///C:/a%2520b", u"C:\\a%20b"},
        {u"file:///C:/a%2Fb", u"C:\\a\\b"},
        // Not a file.
        {u"file:", std::nullopt},
        {u"file://", std::nullopt},
        {u"file://localhost", std::nullopt},
        {u"https://host/C:/x", std::nullopt},
        {u"about:blank", std::nullopt},
        {u"C:x", std::nullopt},
        {u"pages/en/lingvo.html", std::nullopt},
        {u"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text::Utf16ToUtf8(c.address));
        EXPECT_EQ(FileAddressPath(c.address), c.path);
    }
}

// From a web server (the pages' base address in the configuration) the address is compared
// exactly: the server decides whether letter case matters.
TEST(PageAddress, WebAddressesMatchOnlyExactly)
{
    constexpr char16_t kWebPage[] = u"http://127.0.0.1:8080/pages/en/lingvo.html";
    EXPECT_TRUE(IsSamePageAddress(kWebPage, kWebPage));
    for (const char16_t* other :
         {u"http://127.0.0.1:8080/pages/en/Lingvo.html", u"HTTP://127.0.0.1:8080/pages/en/lingvo.html",
          u"http://127.0.0.1:8080/pages/en/lingvo%2Ehtml", u"http://127.0.0.1:8080/pages/en/lingvo.html?",
          u"file:///pages/en/lingvo.html"}) {
        SCOPED_TRACE(text::Utf16ToUtf8(other));
        EXPECT_FALSE(IsSamePageAddress(other, kWebPage));
    }
}

}  // namespace
