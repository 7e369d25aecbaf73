// SPDX-License-Identifier: MIT
#include "common/SiteConfig.h"

namespace site {
namespace {

struct TAddresses {
  std::u16string onlineServer{kOnlineServer};
  std::u16string helpPage{kHelpPageUrl};
  std::u16string authorPage{kAuthorPageUrl};
  std::u16string theoryPage{kTheoryPageUrl};
};

TAddresses& Addresses() {
  static TAddresses a;
  return a;
}

}  // namespace

void SetBaseUrl(std::u16string_view base) {
  while (!base.empty() && base.back() == u'/') base.remove_suffix(1);
  TAddresses& a = Addresses();
  a.onlineServer = base;
  a.helpPage = std::u16string(base) + u"/beugwerkde/beugwerkhelp.htm";
  a.authorPage = std::u16string(base) + u"/";
  a.theoryPage = std::u16string(base) + u"/beugwerkde/beugwerk.htm";
}

std::u16string_view OnlineServer() {
  return Addresses().onlineServer;
}
std::u16string_view HelpPageUrl() {
  return Addresses().helpPage;
}
std::u16string_view AuthorPageUrl() {
  return Addresses().authorPage;
}
std::u16string_view TheoryPageUrl() {
  return Addresses().theoryPage;
}

}  // namespace site
