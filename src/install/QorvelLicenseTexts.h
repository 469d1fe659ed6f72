#pragma once
// The two licence agreements the installation wizard shows, with the placeholders
// "[CompanyName]" and "[ProductName]". Lines end with CR LF, as a multi-line edit wants them.

#include <string>

std::wstring FreeLicenseText();
std::wstring NormalLicenseText();
