#include <stdexcept>

#include <gtest/gtest.h>

#include "tests/translate/EngineFixture.h"
#include "translate/manager/DictionaryManager.h"
#include "translate/manager/TranslateException.h"

namespace {
using translate::DirectionList;
using translate::TranslateException;
using translate::manager::DictionaryManager;

std::vector<std::u16string> Ids(const std::vector<translate::service::TranslateService*>& services)
{
    std::vector<std::u16string> ids;
    ids.reserve(services.size());
    for (const auto* service : services)
        ids.push_back(service->m_name);
    return ids;
}

class ManagerTest : public testsupport::EngineTest {
protected:
    ManagerTest()
    {
        WriteService("lingvo.properties", "Lingvo", "en-ru,ru-en", "1,2");
        WriteService("multilex.properties", "Multilex", "en-ru,de-ru", "a,b");
        WriteService("google.properties", "Google", "ru-de,En-ru", "x,y");
        WriteLocaleFile("translate_direction.properties", "default.directions=ru-en,xx-yy,en-ru\n");
    }

    void WriteConfiguration(const std::string& dictionaries, const std::string& extra = "")
    {
        WriteLocaleFile(
            "Configuration.properties",
            "dictionaries=" + dictionaries +
                "\ndictionary.Lingvo.type=eval\ndictionary.Lingvo.eval=lexFactory.createLingvoDictionary()\n"
                "dictionary.Multilex.type=eval\ndictionary.Multilex.eval=lexFactory.createMultilexDictionary()\n"
                "dictionary.Google.type=simple\ndictionary.Google.config=google.properties\n" +
                extra);
    }

    static std::u16string RejectionOf(DictionaryManager& manager, const std::u16string& id)
    {
        try {
            manager.CreateService(id);
        } catch (const TranslateException& error) {
            return error.GetMessage();
        }
        return u"(created)";
    }
};

TEST_F(ManagerTest, CreatesTheListedServicesAndSkipsUnusableOnes)
{
    WriteConfiguration(" Lingvo , , Nameless, Capital, Spaced, Multilex,",
                       "dictionary.Capital.type=Simple\ndictionary.Spaced.type=eval\n"
                       "dictionary.Spaced.eval=lexFactory.createLingvoDictionary( )\n");
    DictionaryManager manager;
    manager.Initialize();
    ASSERT_EQ(manager.m_services.size(), 2u);
    EXPECT_EQ(manager.m_services[0]->m_id, u"Lingvo");
    EXPECT_EQ(manager.m_services[1]->m_id, u"Multilex");
    EXPECT_EQ(manager.m_servicesById.size(), 2u);
    EXPECT_EQ(RejectionOf(manager, u"Nameless"), u"Not implemented type: ");
    EXPECT_EQ(RejectionOf(manager, u"Capital"), u"Not implemented type: Simple");
    EXPECT_EQ(RejectionOf(manager, u"Spaced"), u"Not implemented type: eval");
}

TEST_F(ManagerTest, DirectionsAreTheSortedUnion)
{
    WriteConfiguration("Lingvo,Multilex,Google");
    DictionaryManager manager;
    manager.Initialize();
    EXPECT_EQ(manager.m_directions, (DirectionList{u"En-ru", u"de-ru", u"en-ru", u"ru-de", u"ru-en"}));
}

TEST_F(ManagerTest, PriorityComesFromTheRegistryWhenItHasTheValue)
{
    WriteConfiguration("Lingvo,Multilex,Google");
    DictionaryManager manager;
    manager.Initialize();
    using Names = std::vector<std::u16string>;
    EXPECT_EQ(Ids(manager.GetServicesByPriority()), (Names{u"Lingvo", u"Multilex", u"Google"}));

    SetRegistryString(u"dictionaryPriority", u"Multilex,Unknown,Multilex");
    EXPECT_EQ(Ids(manager.GetServicesByPriority()), (Names{u"Multilex", u"Lingvo", u"Google"}));
    EXPECT_EQ(manager.GetServiceFor(u"en-ru")->m_id, u"Multilex");

    SetRegistryString(u"dictionaryPriority", u" Google , Lingvo");
    EXPECT_EQ(manager.GetServiceFor(u"en-ru")->m_id, u"Lingvo");

    // An empty value still counts: plain creation order, not the shipped list.
    WriteConfiguration("Google,Lingvo,Multilex");
    DictionaryManager reordered;
    reordered.LoadServices(u"Lingvo,Multilex,Google");
    SetRegistryString(u"dictionaryPriority", u"");
    EXPECT_EQ(Ids(reordered.GetServicesByPriority()), (Names{u"Lingvo", u"Multilex", u"Google"}));
    Settings().key.DeleteValue(u"dictionaryPriority");
    EXPECT_EQ(Ids(reordered.GetServicesByPriority()), (Names{u"Google", u"Lingvo", u"Multilex"}));
}

TEST_F(ManagerTest, AnIdListedTwiceMakesTwoServices)
{
    WriteConfiguration("Lingvo,Multilex,Lingvo");
    DictionaryManager manager;
    manager.Initialize();
    ASSERT_EQ(manager.m_services.size(), 3u);
    EXPECT_EQ(manager.m_servicesById.at(u"Lingvo"), manager.m_services[2].get());

    SetRegistryString(u"dictionaryPriority", u"Lingvo");
    const auto ordered = manager.GetServicesByPriority();
    ASSERT_EQ(ordered.size(), 3u);
    EXPECT_EQ(ordered[0], manager.m_services[2].get());
    EXPECT_EQ(ordered[1], manager.m_services[0].get());
    EXPECT_EQ(ordered[2], manager.m_services[1].get());
}

TEST_F(ManagerTest, DefaultDirectionsAreTheSupportedOnesOfTheUsersList)
{
    WriteConfiguration("Lingvo");
    DictionaryManager manager;
    manager.Initialize();
    EXPECT_EQ(manager.GetDefaultDirections(), (DirectionList{u"ru-en", u"en-ru"}));
    EXPECT_EQ(manager.GetDefaultDirection(), u"ru-en");

    SetRegistryString(u"dictionaryDefaultDirections", u"en-ru, en-ru ,de-ru");
    EXPECT_EQ(manager.GetDefaultDirections(), (DirectionList{u"en-ru", u"en-ru"}));

    SetRegistryString(u"dictionaryDefaultDirections", u"");
    EXPECT_TRUE(manager.GetDefaultDirections().empty());
    EXPECT_EQ(manager.GetDefaultDirection(), u"");
}

TEST_F(ManagerTest, WithoutServicesEveryDirectionIsUnsupported)
{
    WriteConfiguration("");
    DictionaryManager manager;
    manager.Initialize();
    EXPECT_TRUE(manager.m_directions.empty());
    EXPECT_EQ(manager.GetDefaultDirection(), u"");
    try {
        manager.GetServiceFor(u"en-ru");
        FAIL() << "no exception";
    } catch (const TranslateException& error) {
        EXPECT_EQ(error.GetMessage(), u"Unsupported translation: en-ru");
    }
}

VOCABRA_CHILD_ROLE(create_services)
{
    SetModuleDirectoryOverride(testsupport::ToU16(std::filesystem::path(args.at(0))));
    DictionaryManager manager;
    manager.Initialize();
    return static_cast<int>(manager.m_services.size());
}

TEST_F(ManagerTest, CreationIsLoggedServiceByService)
{
    WriteConfiguration("Lingvo, Missing");
    Settings().key.SetDWORD(u"log", 1);
    CreateLogFolder(SharedLogFolder());
    const std::filesystem::path logFile = std::filesystem::path(SharedLogFolder()) / "Vocabra.log";
    std::filesystem::remove(logFile);
    // The manager's log is process-wide and reads the switch once: a fresh process it is.
    const std::string programFolder = std::filesystem::path(GetModuleDirectory()).string();
    EXPECT_EQ(testsupport::RunChild("create_services", {programFolder}), 1);
    Settings().key.DeleteValue(u"log");
    EXPECT_EQ(testsupport::ReadFileBytes(logFile),
              "TranslateManager\t- Creating services: Lingvo, Missing\r\n"
              "TranslateManager\t- Creating translator: Lingvo\r\n"
              "Translator: Lingvo\r\n"
              " supported directions: en-ru,ru-en\r\n"
              "TranslateManager\t- Creating translator: Missing\r\n"
              "TranslateManager\t- Exception on create translator: Missing\r\n"
              "TranslateManager\t- Not implemented type: \r\n");
    std::filesystem::remove(logFile);
}

struct FlakyManager {
    static inline int initializations = 0;
    void Initialize()
    {
        if (++initializations == 1)
            throw std::bad_alloc();
    }
};

TEST(TranslateManagerInitializer, RetriesAFailedInitialisationOnTheSameObject)
{
    using Instance = patterns::Singleton<FlakyManager, translate::manager::TranslateManagerInitializer<FlakyManager>>;
    EXPECT_THROW(Instance::GetInstance(), std::bad_alloc);
    FlakyManager& manager = Instance::GetInstance();
    EXPECT_EQ(&manager, &Instance::GetInstance());
    EXPECT_EQ(FlakyManager::initializations, 2);
}

}  // namespace
