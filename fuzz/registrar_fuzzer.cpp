// The dialog server's registration scripts: variables, tokens, the script tree and the plans.
// Tokens and trees written out again read back the same; every way of planning a script fails
// alike or not at all, and a failure plans nothing; a per-user plan is the machine-wide one moved
// under HKCU\Software\Classes; registration creates every key before it writes into it, within the
// path limits; unregistration only deletes, and never a kept key or one holding a kept key (where
// the script names each key once: NoRemove marks a mention, so a key named twice is removed by
// the mention without it, as the ATL registrar removes it).

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "dialogserver/registrar/Limits.h"
#include "dialogserver/registrar/PlanScript.h"
#include "dialogserver/registrar/ScriptParser.h"
#include "dialogserver/registrar/Status.h"
#include "dialogserver/registrar/Tokenizer.h"
#include "dialogserver/registrar/Variables.h"
#include "fuzz/FuzzSupport.h"

namespace dialogserver::registrar {

bool operator==(const Token& a, const Token& b)
{
    return a.text == b.text && a.quoted == b.quoted;
}

bool operator==(const ScriptEntry& a, const ScriptEntry& b)
{
    return a.kind == b.kind && a.removal == b.removal && a.name == b.name && a.hasData == b.hasData &&
           a.data == b.data && a.children == b.children;
}

bool operator==(const ScriptBlock& a, const ScriptBlock& b)
{
    return a.root == b.root && a.entries == b.entries;
}

bool operator==(const Operation& a, const Operation& b)
{
    return a.kind == b.kind && a.root == b.root && a.key == b.key && a.name == b.name && a.data == b.data;
}

}  // namespace dialogserver::registrar

namespace {
using namespace dialogserver::registrar;
using Kind = Operation::Kind;

constexpr std::u16string_view kUserClasses = u"Software\\Classes";

// A quoted text; with `forPlanning`, its "%" doubled, as the planner replaces variables first.
std::u16string Quoted(std::u16string_view text, bool forPlanning)
{
    std::u16string quoted = u"'";
    for (char16_t unit : text) {
        quoted.push_back(unit);
        if (unit == u'\'' || (forPlanning && unit == u'%'))
            quoted.push_back(unit);
    }
    return quoted + u"'";
}

std::u16string WriteTokens(const std::vector<Token>& tokens)
{
    std::u16string text;
    for (const Token& token : tokens) {
        if (!token.quoted) {
            FUZZ_CHECK(!token.text.empty());
            for (char16_t unit : token.text)
                FUZZ_CHECK(!IsScriptSpace(unit) && unit != u'\'');
        }
        text += (token.quoted ? Quoted(token.text, false) : token.text) + u"\n";
    }
    return text;
}

void WriteEntries(const std::vector<ScriptEntry>& entries, bool forPlanning, std::u16string& script)
{
    for (const ScriptEntry& entry : entries) {
        if (entry.removal == Removal::ForceRemove)
            script += u"ForceRemove ";
        else if (entry.removal == Removal::NoRemove)
            script += u"NoRemove ";
        if (entry.kind == ScriptEntry::Kind::Value)
            script += u"val ";
        // Names quoted, so that no name reads as a keyword or a brace.
        script += Quoted(entry.name, forPlanning);
        if (entry.hasData)
            script += u" = s " + Quoted(entry.data, forPlanning);
        if (!entry.children.empty()) {
            script += u" {\n";
            WriteEntries(entry.children, forPlanning, script);
            script += u"}";
        }
        script += u"\n";
    }
}

std::u16string WriteScript(const std::vector<ScriptBlock>& blocks, bool forPlanning)
{
    constexpr const char16_t* kRoots[] = {u"HKCR", u"HKCU", u"HKLM", u"HKU"};
    std::u16string script;
    for (const ScriptBlock& block : blocks) {
        script += std::u16string(kRoots[static_cast<int>(block.root)]) + u" {\n";
        WriteEntries(block.entries, forPlanning, script);
        script += u"}\n";
    }
    return script;
}

// The status the planner must give: the first failing stage, each checked on its way.
std::int32_t Stages(std::u16string_view script, const Replacements& replacements, std::vector<ScriptBlock>& blocks)
{
    if (script.size() > kMaxScriptLength)
        return kErrorScriptTooLarge;
    if (script.find(u'\0') != std::u16string_view::npos)
        return kErrorEmbeddedNul;
    std::u16string expanded;
    if (const std::int32_t status = ExpandVariables(script, replacements, expanded); status != kOk) {
        FUZZ_CHECK(IsScriptError(status) && expanded.empty());
        FUZZ_CHECK(script.find(u'%') != std::u16string_view::npos);
        return status;
    }
    if (script.find(u'%') == std::u16string_view::npos)
        FUZZ_CHECK(expanded == script);

    std::vector<Token> tokens;
    if (const std::int32_t status = Tokenize(expanded, tokens); status != kOk) {
        FUZZ_CHECK(IsScriptError(status) && tokens.empty());
        return status;
    }
    std::vector<Token> reread;
    FUZZ_CHECK(Tokenize(WriteTokens(tokens), reread) == kOk && reread == tokens);

    if (const std::int32_t status = ParseScript(tokens, blocks); status != kOk) {
        FUZZ_CHECK(IsScriptError(status) && blocks.empty());
        return status;
    }
    std::vector<Token> writtenTokens;
    std::vector<ScriptBlock> reparsed;
    FUZZ_CHECK(Tokenize(WriteScript(blocks, false), writtenTokens) == kOk);
    FUZZ_CHECK(ParseScript(writtenTokens, reparsed) == kOk && reparsed == blocks);
    return kOk;
}

bool IsWellFormedPath(std::u16string_view path)
{
    return !path.empty() && path.front() != u'\\' && path.back() != u'\\' &&
           path.find(u"\\\\") == std::u16string_view::npos;
}

// Whether `path` is `ancestor` or lies below it.
bool IsWithin(std::u16string_view path, std::u16string_view ancestor)
{
    return path.substr(0, ancestor.size()) == ancestor &&
           (path.size() == ancestor.size() || path[ancestor.size()] == u'\\');
}

struct TreeFacts {
    std::vector<std::u16string> keyPaths;  // ASCII letters in lower case: the registry's comparison
    std::size_t keys = 0;
    std::size_t replaced = 0;  // ForceRemove keys
    std::size_t strings = 0;   // default values and named values written on registration
    std::size_t entries = 0;
};

// Counts the tree; returns whether the key is kept (NoRemove, or holding a kept key).
bool Survey(const ScriptEntry& entry, const std::u16string& path, TreeFacts& facts, std::vector<std::u16string>& kept)
{
    ++facts.entries;
    if (entry.kind == ScriptEntry::Kind::Value) {
        ++facts.strings;
        return false;
    }
    ++facts.keys;
    facts.replaced += entry.removal == Removal::ForceRemove;
    facts.strings += entry.hasData;
    std::u16string folded = path;
    for (char16_t& unit : folded)
        if (unit >= u'A' && unit <= u'Z')
            unit = static_cast<char16_t>(unit - u'A' + u'a');
    facts.keyPaths.push_back(std::move(folded));
    bool holdsKept = false;
    for (const ScriptEntry& child : entry.children)
        holdsKept = Survey(child, path + u"\\" + child.name, facts, kept) || holdsKept;
    const bool isKept = entry.removal == Removal::NoRemove || holdsKept;
    if (isKept)
        kept.push_back(path);
    return isKept;
}

void CheckRegistration(const std::vector<Operation>& plan, const TreeFacts& facts)
{
    std::size_t keys = 0;
    std::size_t replaced = 0;
    std::size_t strings = 0;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const Operation& operation = plan[i];
        FUZZ_CHECK(IsWellFormedPath(operation.key) && operation.key.size() <= kMaxKeyPathLength);
        FUZZ_CHECK(operation.kind != Kind::DeleteValue);
        if (operation.kind == Kind::CreateKey) {
            ++keys;
        } else if (operation.kind == Kind::DeleteTree) {
            // A ForceRemove key, written again at once.
            ++replaced;
            FUZZ_CHECK(i + 1 < plan.size() && plan[i + 1].kind == Kind::CreateKey && plan[i + 1].key == operation.key);
        } else if (operation.kind == Kind::SetString) {
            ++strings;
            bool created = false;
            for (std::size_t j = 0; j < i && !created; ++j)
                created =
                    plan[j].kind == Kind::CreateKey && plan[j].root == operation.root && plan[j].key == operation.key;
            FUZZ_CHECK(created);
        }
    }
    FUZZ_CHECK(keys == facts.keys && replaced == facts.replaced && strings == facts.strings);
}

// The plan of one top-level entry: only deletions, and none that takes a kept key along.
void CheckUnregistration(const std::vector<Operation>& plan,
                         TreeFacts& facts,
                         Root root,
                         const std::vector<std::u16string>& kept)
{
    FUZZ_CHECK(plan.size() <= facts.entries);
    std::sort(facts.keyPaths.begin(), facts.keyPaths.end());
    const bool eachKeyOnce = std::adjacent_find(facts.keyPaths.begin(), facts.keyPaths.end()) == facts.keyPaths.end();
    for (const Operation& operation : plan) {
        FUZZ_CHECK(operation.kind == Kind::DeleteTree || operation.kind == Kind::DeleteValue);
        FUZZ_CHECK(operation.root == root && IsWellFormedPath(operation.key));
        if (operation.kind != Kind::DeleteTree || !eachKeyOnce)
            continue;
        for (const std::u16string& path : kept)
            FUZZ_CHECK(!IsWithin(path, operation.key));
    }
}

// The machine-wide plan with HKEY_CLASSES_ROOT moved to the user's classes.
std::vector<Operation> MovedToUser(std::vector<Operation> plan)
{
    for (Operation& operation : plan) {
        if (operation.root != Root::ClassesRoot)
            continue;
        operation.root = Root::CurrentUser;
        operation.key = std::u16string(kUserClasses) + u"\\" + operation.key;
    }
    return plan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string script = fuzzsupport::Text16(data, size);
    const Replacements replacements{u"C:\\Program Files\\Vocabra's\\VocabraHelper.exe",
                                    u"{82EF3088-482D-4640-BD64-4961DC1C5CA6}"};
    std::vector<ScriptBlock> blocks;
    const std::int32_t expected = Stages(script, replacements, blocks);

    std::vector<Operation> plans[2][2];
    for (int registering = 0; registering < 2; ++registering) {
        for (int perUser = 0; perUser < 2; ++perUser) {
            std::vector<Operation>& plan = plans[registering][perUser];
            FUZZ_CHECK(PlanScript(script, replacements, registering != 0, perUser != 0, plan) == expected);
            if (expected != kOk)
                FUZZ_CHECK(plan.empty());
            for (const Operation& operation : plan)
                FUZZ_CHECK(!perUser || operation.root != Root::ClassesRoot);
        }
    }
    if (expected != kOk)
        return 0;

    for (int registering = 0; registering < 2; ++registering)
        FUZZ_CHECK(plans[registering][1] == MovedToUser(plans[registering][0]));

    // Each top-level entry planned on its own: the script's plans are those plans in order.
    std::vector<Operation> joined[2];
    bool complete = true;
    for (const ScriptBlock& block : blocks) {
        for (const ScriptEntry& entry : block.entries) {
            const std::u16string single = WriteScript({ScriptBlock{block.root, {entry}}}, true);
            if (single.size() > kMaxScriptLength) {
                complete = false;
                continue;
            }
            TreeFacts facts;
            std::vector<std::u16string> kept;
            Survey(entry, entry.name, facts, kept);
            std::vector<Operation> part[2];
            for (int registering = 0; registering < 2; ++registering) {
                FUZZ_CHECK(PlanScript(single, replacements, registering != 0, false, part[registering]) == kOk);
                joined[registering].insert(joined[registering].end(), part[registering].begin(),
                                           part[registering].end());
            }
            CheckRegistration(part[1], facts);
            CheckUnregistration(part[0], facts, block.root, kept);
        }
    }
    for (int registering = 0; registering < 2 && complete; ++registering)
        FUZZ_CHECK(joined[registering] == plans[registering][0]);
    return 0;
}
