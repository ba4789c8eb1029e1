// The registry on POSIX: one .reg-format text file per user (see RegistryFile.h). Every query
// re-reads the file, so each read sees every earlier write of any process. Every change takes an
// exclusive lock on a lock file beside the store, re-reads the store, changes it and replaces it
// atomically, so concurrent writers of different values lose nothing. A store that does not parse
// is never overwritten: its values read as absent and changes fail.
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "foundation/win32api/Handles.h"
#include "foundation/win32api/RegistryFile.h"

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

// Restores errno on scope exit, for clean-up that must not mask the first failure.
class ErrnoKeeper {
public:
    ErrnoKeeper() : m_saved(errno) {}
    ~ErrnoKeeper() { errno = m_saved; }
    ErrnoKeeper(const ErrnoKeeper&) = delete;
    ErrnoKeeper& operator=(const ErrnoKeeper&) = delete;

private:
    int m_saved;
};

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ErrnoKeeper keep;
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    // Closes now, reporting the result (a delayed write error shows up here).
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool HomeFolder(std::string& home)
{
    const char* variable = std::getenv("HOME");
    if (variable && *variable) {
        home = variable;
        return true;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir) {
        errno = ENOENT;
        return false;
    }
    home = found->pw_dir;
    return true;
}

// $VOCABRA_REGISTRY, else the user's configuration folder as XDG defines it.
bool StoreFilePath(std::string& path)
{
    const char* explicitPath = std::getenv("VOCABRA_REGISTRY");
    if (explicitPath && *explicitPath) {
        path = explicitPath;
        return true;
    }
    std::string base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    // Relative values are invalid by the XDG rules and ignored.
    if (config && config[0] == '/') {
        base = config;
    } else {
        if (!HomeFolder(base))
            return false;
        base += "/.config";
    }
    path = base + "/vocabra/registry.reg";
    return true;
}

std::string FolderOf(const std::string& file)
{
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

bool CreateFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string prefix = folder.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

// A missing store is an empty one; one that cannot be read or parsed fails (EBADMSG when damaged).
bool LoadStore(const std::string& file, RegistryDocument& document)
{
    document.sections.clear();
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return errno == ENOENT;
    std::string text;
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(fd.Get(), buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
    if (!ParseRegistryFile(text, document)) {
        errno = EBADMSG;
        return false;
    }
    return true;
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = ::write(fd, text.data() + done, text.size() - done);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

// Writes a temporary file beside the store and renames it over the store, so that readers see
// either the old or the new store, never a part of one.
bool SaveStore(const std::string& file, const RegistryDocument& document)
{
    std::string text;
    if (!SerializeRegistryFile(document, text)) {
        errno = EINVAL;
        return false;
    }
    std::string temporary = file + ".tmp.XXXXXX";
    Descriptor fd(::mkstemp(temporary.data()));
    if (fd.Get() < 0)
        return false;
    ::fcntl(fd.Get(), F_SETFD, FD_CLOEXEC);
    // Keep permissions a person gave the store; new stores stay private (mkstemp's 0600).
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0)
        ::fchmod(fd.Get(), existing.st_mode & 07777);
    if (!WriteAll(fd.Get(), text) || ::fsync(fd.Get()) != 0 || !fd.Close() ||
        ::rename(temporary.c_str(), file.c_str()) != 0) {
        ErrnoKeeper keep;
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

enum class Change { Write, Keep, Fail };

// Under the store's lock: reads the latest store, lets `change` edit it, writes it back.
template <class Edit>
bool ModifyStore(const std::string& file, Edit change)
{
    const std::string lockPath = file + ".lock";
    int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0 && errno == ENOENT && CreateFolders(FolderOf(file)))
        lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    Descriptor lock(lockFd);
    if (lock.Get() < 0)
        return false;
    while (::flock(lock.Get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    RegistryDocument document;
    if (!LoadStore(file, document))
        return false;
    switch (change(document)) {
    case Change::Write:
        return SaveStore(file, document);
    case Change::Keep:
        return true;
    case Change::Fail:
        break;
    }
    return false;
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
                return Change::Keep;
            latest.sections.push_back(RegistrySection{key->path, {}});
            disposition = kRegCreatedNewKey;
            return Change::Write;
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
    return reinterpret_cast<RegistryHandle>(static_cast<std::intptr_t>(static_cast<std::int32_t>(id)));
}

RegKey::~RegKey()
{
    Close();
}

bool RegKey::Close()
{
    if (!IsValid())
        return false;
    std::unique_ptr<HKEY__> owned(m_handle);
    m_handle = nullptr;
    return true;
}

bool RegKey::Create(RegistryHandle root, const char16_t* subKey, const char16_t* /*keyClass*/,
                    std::uint32_t /*options*/, std::uint32_t /*access*/, SecurityAttributes* /*security*/,
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
    ErrnoKeeper keep;
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
            return Change::Write;
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
                return Change::Fail;
            }
            return Change::Write;
        });
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
    } catch (...) {
        errno = EIO;
    }
    return false;
}

}  // namespace Win32::API
