// The dialog server's type library as built from its interface definition: the dispatch
// identifiers the tray program and the browser's events rely on, and the shape of each class.

#include <windows.h>

#include <oleauto.h>

#include <vector>

#include "VocabraHelper.h"
#include "tests/wine/ComTestSupport_win32.h"

using Microsoft::WRL::ComPtr;

namespace {
class TypeLibraryTest : public wintest::ComTest {
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        ASSERT_HRESULT_SUCCEEDED(::LoadTypeLibEx(path, REGKIND_NONE, library.GetAddressOf()));
    }
    void TearDown() override
    {
        library.Reset();
        ComTest::TearDown();
    }

    WORD Flags(REFGUID guid)
    {
        ComPtr<ITypeInfo> info;
        TYPEATTR* attributes = nullptr;
        if (FAILED(library->GetTypeInfoOfGuid(guid, info.GetAddressOf())) || FAILED(info->GetTypeAttr(&attributes)))
            return 0xFFFF;
        const WORD flags = attributes->wTypeFlags;
        info->ReleaseTypeAttr(attributes);
        return flags;
    }

    ComPtr<ITypeLib> library;
};
}  // namespace

TEST_F(TypeLibraryTest, LibraryIsVersionOneInUsEnglish)
{
    TLIBATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library->GetLibAttr(&attributes));
    EXPECT_TRUE(attributes->guid == LIBID_VocabraHelperLib);
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    EXPECT_EQ(attributes->lcid, 0x0409u);
    library->ReleaseTLibAttr(attributes);
}

TEST_F(TypeLibraryTest, EachClassHasItsDualInterfaceByDefaultAndTheVtableInterfaceSecond)
{
    const CLSID classes[] = {CLSID_BabylonDictionaryDialog, CLSID_MultilexDictionaryDialog,
                             CLSID_LingvoDictionaryDialog, CLSID_GoogleDictionaryDialog};
    const IID duals[] = {IID_IBabylonDictionaryDialog, IID_IMultilexDictionaryDialog, IID_ILingvoDictionaryDialog,
                         IID_IGoogleDictionaryDialog};
    for (int i = 0; i < 4; ++i) {
        ComPtr<ITypeInfo> coclass;
        ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(classes[i], coclass.GetAddressOf()));
        EXPECT_TRUE(Flags(classes[i]) & TYPEFLAG_FCANCREATE);
        std::vector<IID> implemented;
        for (UINT index = 0; index < 2; ++index) {
            HREFTYPE reference = 0;
            ComPtr<ITypeInfo> interfaceInfo;
            TYPEATTR* attributes = nullptr;
            ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeOfImplType(index, &reference));
            ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeInfo(reference, interfaceInfo.GetAddressOf()));
            ASSERT_HRESULT_SUCCEEDED(interfaceInfo->GetTypeAttr(&attributes));
            implemented.push_back(attributes->guid);
            interfaceInfo->ReleaseTypeAttr(attributes);
        }
        INT defaultFlags = 0;
        ASSERT_HRESULT_SUCCEEDED(coclass->GetImplTypeFlags(0, &defaultFlags));
        EXPECT_TRUE(defaultFlags & IMPLTYPEFLAG_FDEFAULT);
        EXPECT_TRUE(implemented[0] == duals[i]) << "class " << i;
        EXPECT_TRUE(implemented[1] == IID_IDictionaryDialog) << "class " << i;

        // The browser's DocumentComplete event (DISPID 259) must land on DocumentComplete.
        EXPECT_TRUE(Flags(duals[i]) & TYPEFLAG_FDUAL) << "class " << i;
        ComPtr<ITypeInfo> dual;
        ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(duals[i], dual.GetAddressOf()));
        LPOLESTR names[] = {const_cast<LPOLESTR>(L"ShowDictionaryDialog"), const_cast<LPOLESTR>(L"Detach"),
                            const_cast<LPOLESTR>(L"DocumentComplete")};
        MEMBERID ids[3] = {};
        for (int name = 0; name < 3; ++name)
            ASSERT_HRESULT_SUCCEEDED(dual->GetIDsOfNames(&names[name], 1, &ids[name]));
        EXPECT_EQ(std::vector<MEMBERID>(ids, ids + 3), (std::vector<MEMBERID>{1, 2, 259})) << "class " << i;
    }
    EXPECT_FALSE(Flags(IID_IDictionaryDialog) & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION));
}
