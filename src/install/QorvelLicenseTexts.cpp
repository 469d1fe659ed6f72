#include "install/QorvelLicenseTexts.h"

namespace {

std::wstring WithCrLf(const wchar_t* text) {
  std::wstring result;
  for (const wchar_t* c = text; *c; ++c) {
    if (*c == L'\n') result += L'\r';
    result += *c;
  }
  return result;
}

// Free software under the MIT licence, word for word the repository's LICENSE file.
constexpr const wchar_t* FreeLicense =
    LR"(LICENSE AGREEMENT FOR [PRODUCTNAME] (FREE SOFTWARE, MIT LICENSE)

Copyright (c) 2026 [CompanyName]

Permission is hereby granted, free of charge, to any person obtaining a copy of this software and associated documentation files (the "Software"), to deal in the Software without restriction, including without limitation the rights to use, copy, modify, merge, publish, distribute, sublicense, and/or sell copies of the Software, and to permit persons to whom the Software is furnished to do so, subject to the following conditions:

The above copyright notice and this permission notice shall be included in all copies or substantial portions of the Software.

THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.
)";

// A normal single-user licence for a product that is bought.
constexpr const wchar_t* NormalLicense =
    LR"(END USER LICENSE AGREEMENT FOR [PRODUCTNAME]

This is a legal agreement between you (either an individual or a single entity) and [CompanyName] for the software product [ProductName], which includes the program and its documentation ("the SOFTWARE"). By installing, copying or otherwise using the SOFTWARE you agree to be bound by the terms of this agreement. If you do not agree, do not install or use the SOFTWARE.

1. GRANT OF LICENSE
For each license you have acquired, [CompanyName] grants you the right to install and use one copy of the SOFTWARE on one computer. You may also install a copy on a portable computer or a removable drive for your own use, provided that only one copy is in use at a time.

2. EVALUATION
Before you acquire a license you may use the SOFTWARE for evaluation only, for a period of 30 days. After that period you must either acquire a license or remove the SOFTWARE from your computers.

3. TRANSFER
You may transfer all your rights under this agreement permanently to another person, provided that you keep no copies and that the recipient agrees to the terms of this agreement.

4. RESTRICTIONS
You may not reverse engineer, decompile or disassemble the SOFTWARE, nor modify it, rent it, lease it, lend it or pass on your license key.

5. COPYRIGHT
The SOFTWARE is owned by [CompanyName] and is protected by copyright laws and international treaties. All rights not expressly granted are reserved by [CompanyName].

6. LIMITED WARRANTY
[CompanyName] warrants that the SOFTWARE will perform substantially in accordance with its documentation for a period of 30 days from the date of purchase. Your exclusive remedy is, at the option of [CompanyName], either the return of the price paid or the repair or replacement of the SOFTWARE. ANY OTHER WARRANTY, EXPRESS OR IMPLIED, INCLUDING THE WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE, IS EXCLUDED.

7. LIMITATION OF LIABILITY
IN NO EVENT SHALL [COMPANYNAME] BE LIABLE FOR ANY DAMAGES WHATSOEVER (INCLUDING LOSS OF DATA, LOSS OF PROFITS OR BUSINESS INTERRUPTION) ARISING OUT OF THE USE OF OR INABILITY TO USE THE SOFTWARE. THE ENTIRE LIABILITY OF [COMPANYNAME] IS LIMITED TO THE AMOUNT YOU PAID FOR THE SOFTWARE.

8. TERMINATION
This agreement ends if you fail to comply with any of its terms. You must then destroy all copies of the SOFTWARE.

9. GENERAL
If any provision of this agreement is held invalid, the remaining provisions stay in force. This agreement is the entire agreement between you and [CompanyName] about the SOFTWARE.
)";

}  // namespace

std::wstring FreeLicenseText() { return WithCrLf(FreeLicense); }
std::wstring NormalLicenseText() { return WithCrLf(NormalLicense); }
