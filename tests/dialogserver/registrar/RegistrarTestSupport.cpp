#include "tests/dialogserver/registrar/RegistrarTestSupport.h"

#include <tuple>
#include <utility>

#include "foundation/text/Utf.h"
#include "tests/support/TestSupport.h"

namespace dialogserver::registrar {

bool operator==(const Operation& left, const Operation& right)
{
    return std::tie(left.kind, left.root, left.key, left.name, left.data) ==
           std::tie(right.kind, right.root, right.key, right.name, right.data);
}

void PrintTo(const Operation& operation, std::ostream* stream)
{
    static const char* const kinds[] = {"CreateKey", "SetString", "DeleteTree", "DeleteValue"};
    static const char* const roots[] = {"HKCR", "HKCU", "HKLM", "HKU"};
    *stream << kinds[static_cast<int>(operation.kind)] << "(" << roots[static_cast<int>(operation.root)] << "\\"
            << text::Utf16ToUtf8(operation.key) << " [" << text::Utf16ToUtf8(operation.name) << "] = '"
            << text::Utf16ToUtf8(operation.data) << "')";
}

}  // namespace dialogserver::registrar

namespace registrartest {

const std::vector<ShippedClass>& ShippedClasses()
{
    static const std::vector<ShippedClass> classes = {
        {"Babylon.rgs", u"Babylon", u"{7618F1BC-B0FB-43EF-946B-A2ECDA6C3E6F}", true},
        {"Multilex.rgs", u"Multilex", u"{1A77D4B9-914B-4F7F-BE1E-E11B5698AFCB}", true},
        {"Lingvo.rgs", u"Lingvo", u"{7CAB6454-0CA9-4937-B859-1E6699F2A802}", true},
        {"Google.rgs", u"Google", u"{DBF3C903-615A-450B-9386-323DD977C532}", false},
    };
    return classes;
}

std::string ReadShippedScriptBytes(const char* fileName)
{
    return testsupport::ReadFileBytes(std::filesystem::path(VOCABRA_REGISTRAR_SCRIPTS) / fileName);
}

std::u16string ReadShippedScript(const char* fileName)
{
    return text::Utf8ToUtf16(ReadShippedScriptBytes(fileName));
}

Replacements TestReplacements()
{
    return Replacements{u"C:\\Program Files\\Vocabra\\VocabraHelper.exe", kAppId};
}

std::vector<Operation> Plan(std::u16string_view script,
                            bool registering,
                            bool perUser,
                            std::int32_t& status,
                            const Replacements& replacements)
{
    std::vector<Operation> operations;
    status = dialogserver::registrar::PlanScript(script, replacements, registering, perUser, operations);
    return operations;
}

Operation CreateKey(Root root, std::u16string key)
{
    return Operation{Operation::Kind::CreateKey, root, std::move(key), {}, {}};
}

Operation SetString(Root root, std::u16string key, std::u16string name, std::u16string data)
{
    return Operation{Operation::Kind::SetString, root, std::move(key), std::move(name), std::move(data)};
}

Operation DeleteTree(Root root, std::u16string key)
{
    return Operation{Operation::Kind::DeleteTree, root, std::move(key), {}, {}};
}

Operation DeleteValue(Root root, std::u16string key, std::u16string name)
{
    return Operation{Operation::Kind::DeleteValue, root, std::move(key), std::move(name), {}};
}

}  // namespace registrartest
