// Registry keys on POSIX: a key is its full path in the store file (RegistryStore_posix.h). Key
// paths and value names compare as Windows compares them, ignoring the case of ASCII letters,
// and a new key takes the spelling that its existing parents already have in the store.
#include <cerrno>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "foundation/win32api/Handles.h"
#include "foundation/win32api/RegistryStore_posix.h"

// An open key: where it lives and in which store file.
struct HKEY__ {
    std::u16string path;    // full key path, root name first
    std::string storeFile;  // fixed when the key is opened
};

namespace Win32::API {
namespace {

struct RootKey {
    std::uint32_t id;
    const char16_t* name;
};

constexpr RootKey kRootKeys[] = {
    {kHkeyClassesRoot, u"HKEY_CLASSES_ROOT"},
    {kHkeyCurrentUser, u"HKEY_CURRENT_USER"},
    {kHkeyLocalMachine, u"HKEY_LOCAL_MACHINE"},
    {kHkeyUsers, u"HKEY_USERS"},
};

// Predefined keys are small negative numbers, never addresses of a HKEY__.
bool IsPredefinedRange(RegistryHandle key)
{
    const auto value = reinterpret_cast<std::intptr_t>(key);
    return value >= reinterpret_cast<std::intptr_t>(PredefinedKey(0x80000000u)) &&
           value <= reinterpret_cast<std::intptr_t>(PredefinedKey(0x800000FFu));
}

std::vector<std::u16string_view> SplitPath(std::u16string_view path)
{
    std::vector<std::u16string_view> parts;
    for (;;) {
        const std::size_t separator = path.find(u'\\');
        parts.push_back(path.substr(0, separator));
        if (separator == std::u16string_view::npos)
            return parts;
        path.remove_prefix(separator + 1);
    }
}

// `path` spelled as the store first wrote each of its leading components.
std::u16string ResolveSpelling(const RegistryDocument& document, std::u16string_view path)
{
    std::vector<std::u16string_view> parts = SplitPath(path);
    std::vector<bool> settled(parts.size(), false);
    for (const RegistrySection& section : document.sections) {
        const std::vector<std::u16string_view> known = SplitPath(section.path);
        for (std::size_t i = 0; i < parts.size() && i < known.size() && SameRegistryName(parts[i], known[i]); ++i) {
            if (!settled[i]) {
                parts[i] = known[i];
                settled[i] = true;
            }
        }
    }
    std::u16string spelled;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            spelled.push_back(u'\\');
        spelled += parts[i];
    }
    return spelled;
}

// A key exists when it has a section or a section lies below it.
bool KeyExists(const RegistryDocument& document, std::u16string_view path)
{
    for (const RegistrySection& section : document.sections) {
        const std::u16string_view known = section.path;
        if (known.size() >= path.size() && SameRegistryName(known.substr(0, path.size()), path) &&
            (known.size() == path.size() || known[path.size()] == u'\\'))
            return true;
    }
    return false;
}

// The section of an open key, added when the key has none yet.
RegistrySection& SectionOf(RegistryDocument& document, std::u16string_view path)
{
    if (RegistrySection* section = document.FindSection(path))
        return *section;
    document.sections.push_back(RegistrySection{ResolveSpelling(document, path), {}});
    return document.sections.back();
}

std::unique_ptr<HKEY__> OpenKey(RegistryHandle root, const char16_t* subKey, std::uint32_t& disposition)
{
    auto key = std::make_unique<HKEY__>();
    bool isRoot = false;
    for (const RootKey& known : kRootKeys) {
        if (root == PredefinedKey(known.id)) {
            if (!StoreFilePath(key->storeFile))
                return nullptr;
            key->path = known.name;
            isRoot = true;
        }
    }
    if (!isRoot) {
        if (!root || root == RegKey::InvalidValue() || IsPredefinedRange(root)) {
            errno = EBADF;
            return nullptr;
        }
        key->path = root->path;
        key->storeFile = root->storeFile;
    }
    const bool sameKey = !subKey || !*subKey;
    if (!sameKey) {
        key->path.push_back(u'\\');
        key->path += subKey;
        if (!IsWritableKeyPath(key->path)) {
            errno = EINVAL;
            return nullptr;
        }
    }

    RegistryDocument document;
    if (!LoadStore(key->storeFile, document))
        return nullptr;
    disposition = kRegOpenedExistingKey;
    if (!sameKey && !KeyExists(document, key->path)) {
        const bool stored = ModifyStore(key->storeFile, [&](RegistryDocument& latest) {
            key->path = ResolveSpelling(latest, key->path);
            if (KeyExists(latest, key->path))
                return StoreChange::Keep;
            latest.sections.push_back(RegistrySection{key->path, {}});
            disposition = kRegCreatedNewKey;
            return StoreChange::Write;
        });
        if (!stored)
            return nullptr;
        return key;
    }
    key->path = ResolveSpelling(document, key->path);
    return key;
}

}  // namespace

RegistryHandle PredefinedKey(std::uint32_t id)
{
    // NOLINTNEXTLINE(performance-no-int-to-ptr): HKEY_CURRENT_USER and its siblings are numbers in a pointer type
    return reinterpret_cast<RegistryHandle>(static_cast<std::intptr_t>(static_cast<std::int32_t>(id)));
}

RegKey::~RegKey()
{
    RegKey::Close();
}

bool RegKey::Close()
{
    if (!IsValid())
        return false;
    std::unique_ptr<HKEY__> owned(m_handle);
    m_handle = nullptr;
    return true;
}

bool RegKey::Create(RegistryHandle root,
                    const char16_t* subKey,
                    const char16_t* /*keyClass*/,
                    std::uint32_t /*options*/,
                    std::uint32_t /*access*/,
                    SecurityAttributes* /*security*/,
                    std::uint32_t* disposition)
{
    std::unique_ptr<HKEY__> key;
    std::uint32_t outcome = 0;
    try {
        key = OpenKey(root, subKey, outcome);
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
    } catch (...) {
        errno = EIO;
    }
    Attach(key.release());
    if (IsValid() && disposition)
        *disposition = outcome;
    return IsValid();
}

bool RegKey::QueryValue(const char16_t* name, std::uint32_t& type, std::vector<std::uint8_t>& data) const
{
    type = kRegNone;
    data.clear();
    if (!IsValid()) {
        errno = EBADF;
        return false;
    }
    try {
        RegistryDocument document;
        if (!LoadStore(m_handle->storeFile, document))
            return false;
        const RegistrySection* section = document.FindSection(m_handle->path);
        const RegistryValue* value = section ? section->FindValue(name ? name : u"") : nullptr;
        if (!value) {
            errno = ENOENT;
            return false;
        }
        data = value->data;
        type = value->type;
        return true;
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
    } catch (...) {
        errno = EIO;
    }
    data.clear();
    return false;
}

bool RegKey::SetValue(const char16_t* name, std::uint32_t type, const void* data, std::uint32_t size)
{
    if (!IsValid()) {
        errno = EBADF;
        return false;
    }
    const std::u16string_view valueName = name ? name : u"";
    if ((!data && size != 0) || !IsWritableRegistryText(valueName)) {
        errno = EINVAL;
        return false;
    }
    try {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        std::vector<std::uint8_t> stored(bytes, bytes + size);
        return ModifyStore(m_handle->storeFile, [&](RegistryDocument& document) {
            SectionOf(document, m_handle->path).SetValue(valueName, type, std::move(stored));
            return StoreChange::Write;
        });
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
    } catch (...) {
        errno = EIO;
    }
    return false;
}

bool RegKey::DeleteValue(const char16_t* name)
{
    if (!IsValid()) {
        errno = EBADF;
        return false;
    }
    try {
        return ModifyStore(m_handle->storeFile, [&](RegistryDocument& document) {
            RegistrySection* section = document.FindSection(m_handle->path);
            if (!section || !section->EraseValue(name ? name : u"")) {
                errno = ENOENT;
                return StoreChange::Fail;
            }
            return StoreChange::Write;
        });
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
    } catch (...) {
        errno = EIO;
    }
    return false;
}

}  // namespace Win32::API
