#include "common/AppName.h"

#include "classlib/SysUtils.h"
#include "common/QmxUtil.h"
#include "common/VersInfo.h"

void GetApplicationName(const std::string& FileName, TNazwaAplikacji& Info)
{
    TVersionInfoResource reader(nullptr);
    reader.SetFilename(FileName);
    Info.CompanyName = reader.GetStandardValue(pdCompanyName);
    Info.ProductName = reader.GetStandardValue(pdProductName);
    Info.Version = reader.FileVersionNumber().GetVersionText();
    Info.Comments = reader.GetStandardValue(pdComments);
    if (!Info.CompanyName.empty() || !Info.ProductName.empty()) {
        Info.DisplayName = Format("%s (%s) %s", Info.ProductName, Info.CompanyName, Info.Version);
    } else {
        Info.DisplayName = NthField('.', 1, ExtractFileName(FileName));
    }
}
