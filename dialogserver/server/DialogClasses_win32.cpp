#include "dialogserver/server/DialogClasses_win32.h"

#include "VocabraHelper.h"

namespace dialogserver {

const std::array<DialogClass, 4>& DialogClasses()
{
    static const std::array<DialogClass, 4> classes = {{
        {DialogFamily::Babylon, L"Babylon", CLSID_BabylonDictionaryDialog, IID_IBabylonDictionaryDialog,
         u"babylon.properties", 401, 102, true},
        {DialogFamily::Google, L"Google", CLSID_GoogleDictionaryDialog, IID_IGoogleDictionaryDialog,
         u"google_dictionary.properties", 407, 105, false},
        {DialogFamily::Lingvo, L"Lingvo", CLSID_LingvoDictionaryDialog, IID_ILingvoDictionaryDialog,
         u"lingvo.properties", 405, 104, false},
        {DialogFamily::Multilex, L"Multilex", CLSID_MultilexDictionaryDialog, IID_IMultilexDictionaryDialog,
         u"multilex.properties", 403, 103, true},
    }};
    return classes;
}

}  // namespace dialogserver
