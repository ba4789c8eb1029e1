#pragma once
// Shared by the XML tests: COM on the test thread (Windows; nothing elsewhere) and a browser
// page made of given texts.

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "foundation/xml/BrowserDocument.h"

namespace xmltest {

// COM (single-threaded apartment) on this thread for the life of the object.
class Apartment {
public:
    Apartment();
    ~Apartment();  // NOLINT(performance-trivially-destructible): the Windows twin leaves COM
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

private:
    [[maybe_unused]] bool m_entered = false;  // COM entered (Windows only)
};

class XmlTest : public ::testing::Test {
    Apartment m_apartment;
};

// A loaded page: XML when `xml` is given (`xmlReadable` false when its text cannot be read),
// with a body when `body` is given. Counts the requests for the body text.
struct FakePage : XML::BrowserDocument {
    std::optional<std::u16string> xml;
    bool xmlReadable = true;
    std::optional<std::u16string> body;
    int bodyRequests = 0;

    bool GetXml(std::optional<std::u16string>& text) override
    {
        if (!xml)
            return false;
        if (xmlReadable)
            text = xml;
        return true;
    }
    std::optional<std::u16string> BodyText() override
    {
        ++bodyRequests;
        return body;
    }
};

}  // namespace xmltest
