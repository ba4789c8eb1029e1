#include "tray/LookupHistory.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "foundation/text/Utf.h"

namespace tray {
namespace {
constexpr char kFieldSeparator = '\t';
constexpr std::size_t kFieldCount = 4;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back (H. Hinnant's
// algorithms): the same on both platforms, without the C library's time zone.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

struct CivilDate {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

CivilDate CivilFromDays(std::int64_t days)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2), month, day};
}

bool ReadNumber(std::string_view text, std::size_t offset, std::size_t digits, unsigned& value)
{
    value = 0;
    for (std::size_t i = offset; i < offset + digits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return true;
}

bool IsLeapYear(unsigned year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned DaysInMonth(unsigned year, unsigned month)
{
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

void AppendEscaped(std::string& line, const std::u16string& field)
{
    for (const char c : text::Utf16ToUtf8(field)) {
        switch (c) {
            case '\t':
                line += "\\t";
                break;
            case '\n':
                line += "\\n";
                break;
            case '\r':
                line += "\\r";
                break;
            case '\\':
                line += "\\\\";
                break;
            default:
                line.push_back(c);
        }
    }
}

// A field as it was before escaping; false when its escapes or its UTF-8 are broken.
bool Unescape(std::string_view escaped, std::u16string& field)
{
    std::string utf8;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '\\') {
            utf8.push_back(escaped[i]);
            continue;
        }
        if (++i == escaped.size())
            return false;
        switch (escaped[i]) {
            case 't':
                utf8.push_back('\t');
                break;
            case 'n':
                utf8.push_back('\n');
                break;
            case 'r':
                utf8.push_back('\r');
                break;
            case '\\':
                utf8.push_back('\\');
                break;
            default:
                return false;
        }
    }
    field = text::Utf8ToUtf16(utf8);
    // Broken UTF-8 would come back as U+FFFD, another word than the one written.
    return text::Utf16ToUtf8(field) == utf8;
}

bool ParseLine(std::string_view line, HistoryEntry& entry)
{
    std::string_view fields[kFieldCount];
    std::size_t count = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] != kFieldSeparator)
            continue;
        if (count == kFieldCount)
            return false;
        fields[count++] = line.substr(start, i - start);
        start = i + 1;
    }
    return count == kFieldCount && Unescape(fields[0], entry.word) && !entry.word.empty() &&
           Unescape(fields[1], entry.direction) && !entry.direction.empty() && Unescape(fields[2], entry.serviceId) &&
           !entry.serviceId.empty() && ParseUtcTime(fields[3], entry.time);
}
}  // namespace

LookupHistory::LookupHistory(std::vector<HistoryEntry> entries) : m_entries(std::move(entries))
{
    if (m_entries.size() > kMaxHistoryEntries)
        m_entries.resize(kMaxHistoryEntries);
}

void LookupHistory::Add(HistoryEntry entry)
{
    const auto same = std::find_if(m_entries.begin(), m_entries.end(), [&](const HistoryEntry& old) {
        return old.word == entry.word && old.direction == entry.direction && old.serviceId == entry.serviceId;
    });
    if (same != m_entries.end())
        m_entries.erase(same);
    m_entries.insert(m_entries.begin(), std::move(entry));
    if (m_entries.size() > kMaxHistoryEntries)
        m_entries.resize(kMaxHistoryEntries);
}

std::string FormatUtcTime(std::int64_t time)
{
    // The years the text can hold.
    constexpr std::int64_t kFirst = -62167219200;  // 0000-01-01T00:00:00Z
    constexpr std::int64_t kLast = 253402300799;   // 9999-12-31T23:59:59Z
    time = std::clamp(time, kFirst, kLast);
    const std::int64_t days = (time >= 0 ? time : time - 86399) / 86400;
    const auto seconds = static_cast<unsigned>(time - days * 86400);
    const CivilDate date = CivilFromDays(days);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", static_cast<unsigned>(date.year), date.month,
                  date.day, seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

bool ParseUtcTime(std::string_view text, std::int64_t& time)
{
    unsigned year = 0;
    unsigned month = 0;
    unsigned day = 0;
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || text[19] != 'Z' || !ReadNumber(text, 0, 4, year) || !ReadNumber(text, 5, 2, month) ||
        !ReadNumber(text, 8, 2, day) || !ReadNumber(text, 11, 2, hour) || !ReadNumber(text, 14, 2, minute) ||
        !ReadNumber(text, 17, 2, second))
        return false;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 59)
        return false;
    const std::int64_t secondOfDay = std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 + second;
    time = DaysFromCivil(year, month, day) * 86400 + secondOfDay;
    return true;
}

std::string SerializeHistory(const std::vector<HistoryEntry>& entries)
{
    std::string text;
    for (const HistoryEntry& entry : entries) {
        AppendEscaped(text, entry.word);
        text.push_back(kFieldSeparator);
        AppendEscaped(text, entry.direction);
        text.push_back(kFieldSeparator);
        AppendEscaped(text, entry.serviceId);
        text.push_back(kFieldSeparator);
        text += FormatUtcTime(entry.time);
        text.push_back('\n');
    }
    return text;
}

ParsedHistory ParseHistory(std::string_view text)
{
    ParsedHistory parsed;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        // A file saved by an editor that ends its lines with CR LF.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        HistoryEntry entry;
        if (!ParseLine(line, entry)) {
            parsed.damaged = std::string(text.substr(start));
            break;
        }
        parsed.entries.push_back(std::move(entry));
        start = end + 1;
    }
    return parsed;
}

std::string ExportHistory(const std::vector<HistoryEntry>& entries, const ServiceNamer& serviceName)
{
    const auto field = [](const std::u16string& value) {
        std::string utf8 = text::Utf16ToUtf8(value);
        std::replace_if(
            utf8.begin(), utf8.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
        return utf8;
    };
    std::string text = "#separator:tab\n#html:false\n#columns:Word\tDirection\tService\tTime\n";
    for (const HistoryEntry& entry : entries) {
        text += field(entry.word) + '\t' + field(entry.direction) + '\t' + field(serviceName(entry.serviceId)) + '\t' +
                FormatUtcTime(entry.time) + '\n';
    }
    return text;
}

}  // namespace tray
