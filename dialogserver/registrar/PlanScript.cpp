// The registrar's pipeline (variables, tokens, tree) and the walk of the tree that plans the changes.
#include "dialogserver/registrar/PlanScript.h"

#include <utility>

#include "dialogserver/registrar/Limits.h"
#include "dialogserver/registrar/ScriptParser.h"
#include "dialogserver/registrar/Tokenizer.h"

namespace dialogserver::registrar {

namespace {

using Kind = Operation::Kind;

std::u16string ChildPath(const std::u16string& parent, const std::u16string& name)
{
    return parent.empty() ? name : parent + u'\\' + name;
}

class Planner {
public:
    Planner(Root root, std::vector<Operation>& operations) : m_root(root), m_operations(operations) {}

    // Pre-order, in script order: a key is created before what it holds is written.
    void Register(const ScriptEntry& entry, const std::u16string& parentPath)
    {
        if (entry.kind == ScriptEntry::Kind::Value) {
            Add(Kind::SetString, parentPath, entry.name, entry.data);
            return;
        }
        const std::u16string path = ChildPath(parentPath, entry.name);
        if (entry.removal == Removal::ForceRemove)
            Add(Kind::DeleteTree, path);
        Add(Kind::CreateKey, path);
        if (entry.hasData)
            Add(Kind::SetString, path, {}, entry.data);
        for (const ScriptEntry& child : entry.children)
            Register(child, path);
    }

    // Deletes a removable key with its tree in one operation. A key that is kept (NoRemove, or
    // holding a NoRemove key, which deleting the tree would take along) has what it holds
    // unregistered one by one instead. Returns whether the key is kept.
    bool Unregister(const ScriptEntry& key, const std::u16string& path)
    {
        const std::size_t first = m_operations.size();
        bool holdsKeptKey = false;
        for (const ScriptEntry& child : key.children) {
            if (child.kind == ScriptEntry::Kind::Key)
                holdsKeptKey = Unregister(child, ChildPath(path, child.name)) || holdsKeptKey;
            else if (child.removal != Removal::NoRemove)
                Add(Kind::DeleteValue, path, child.name);
        }
        if (key.removal == Removal::NoRemove || holdsKeptKey)
            return true;
        m_operations.resize(first);
        Add(Kind::DeleteTree, path);
        return false;
    }

private:
    void Add(Kind kind, const std::u16string& path, const std::u16string& name = {}, const std::u16string& data = {})
    {
        m_operations.push_back(Operation{kind, m_root, path, name, data});
    }

    Root m_root;
    std::vector<Operation>& m_operations;
};

void PlanBlock(const ScriptBlock& block, bool registering, bool perUser, std::vector<Operation>& operations)
{
    const bool toUserClasses = perUser && block.root == Root::ClassesRoot;
    const std::u16string base = toUserClasses ? u"Software\\Classes" : u"";
    Planner planner(toUserClasses ? Root::CurrentUser : block.root, operations);
    for (const ScriptEntry& entry : block.entries) {
        if (registering)
            planner.Register(entry, base);
        else
            planner.Unregister(entry, ChildPath(base, entry.name));
    }
}

}  // namespace

std::int32_t PlanScript(std::u16string_view script,
                        const Replacements& replacements,
                        bool registering,
                        bool perUser,
                        std::vector<Operation>& operations)
{
    operations.clear();
    if (script.size() > kMaxScriptLength)
        return kErrorScriptTooLarge;
    if (script.find(u'\0') != std::u16string_view::npos)
        return kErrorEmbeddedNul;
    std::u16string expanded;
    if (const std::int32_t status = ExpandVariables(script, replacements, expanded); status != kOk)
        return status;
    std::vector<Token> tokens;
    if (const std::int32_t status = Tokenize(expanded, tokens); status != kOk)
        return status;
    std::vector<ScriptBlock> blocks;
    if (const std::int32_t status = ParseScript(tokens, blocks); status != kOk)
        return status;

    std::vector<Operation> planned;
    for (const ScriptBlock& block : blocks)
        PlanBlock(block, registering, perUser, planned);
    operations.swap(planned);
    return kOk;
}

}  // namespace dialogserver::registrar
