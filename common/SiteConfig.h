// SPDX-License-Identifier: MIT
// Site addresses and names of the online deployment, in one place: the engine's auxiliary hint,
// the result page and the sitemap all link to the same pages.
//
//   std::u16string(site::HelpPageUrl()) + u"#habensein"
//   site::SetBaseUrl(u"http://127.0.0.1:8080");   // a server's pages link to itself
#pragma once

#include <string>
#include <string_view>

namespace site {

// Scheme and host of the online deployment, without trailing slash.
inline constexpr std::u16string_view kOnlineServer = u"https://beugwerk.de";
// The online help page ("haben oder sein?" and the usage notes).
inline constexpr std::u16string_view kHelpPageUrl =
    u"https://beugwerk.de/beugwerkde/beugwerkhelp.htm";
inline constexpr std::u16string_view kAuthorPageUrl = u"https://beugwerk.de/";
inline constexpr std::u16string_view kTheoryPageUrl =
    u"https://beugwerk.de/beugwerkde/beugwerk.htm";
inline constexpr std::u16string_view kBadgeXhtmlUrl = u"https://www.w3.org/Icons/valid-xhtml10.png";
inline constexpr std::u16string_view kBadgeCssUrl =
    u"https://jigsaw.w3.org/css-validator/images/vcss.gif";
inline constexpr std::u16string_view kMarkupValidatorUrl =
    u"https://validator.w3.org/check?uri=referer";
inline constexpr std::u16string_view kCssValidatorUrl =
    u"https://jigsaw.w3.org/css-validator/check/referer";
inline constexpr std::u16string_view kAuthorName = u"Beugwerk-Team";
inline constexpr std::u16string_view kXhtmlNamespace = u"http://www.w3.org/1999/xhtml";
// Path of the online generator page, its query key and the key of the orthography; addresses
// of the page are built and read by generator/PageAddress.
inline constexpr std::u16string_view kGeneratorPath = u"/beugwerkde/verbformen-deutsch.htm";
inline constexpr std::u16string_view kQueryKey = u"infi";
inline constexpr std::u16string_view kOrthoKey = u"ortho";
// The form the lookup API is asked about ("/api/v1/lookup?form=ging").
inline constexpr std::u16string_view kLookupKey = u"form";
// "alle=1": the page of all forms (the further subjunctive tenses, the passive).
inline constexpr std::u16string_view kAllFormsKey = u"alle";
// The sitemap's schema (Sitemaps 0.84) and the XML Schema instance namespace.
inline constexpr std::u16string_view kSitemapNamespace =
    u"http://www.google.com/schemas/sitemap/0.84";
inline constexpr std::u16string_view kXsiNamespace = u"http://www.w3.org/2001/XMLSchema-instance";

// The maker as the about box names it: institution line, web address, e-mail address and the
// default rights notice (%yyyy% becomes the year of the program file).
inline constexpr std::u16string_view kInstitution =
    u"Beugwerk-Team · Werkstatt für deutsche Verbformen";
inline constexpr std::u16string_view kAboutWWW = u"https://beugwerk.de/";
inline constexpr std::u16string_view kAboutEMail = u"info@beugwerk.de";
inline constexpr std::u16string_view kDefaultCopyright =
    u"© 2000, %yyyy% Beugwerk-Team. Alle Rechte vorbehalten.";

// The addresses the pages link to: the constants above until a deployment names its own base
// (scheme and host, no trailing slash; empty gives root-relative addresses that work on any
// host). Set once at start-up, before any page is built: the readers do not lock.
void SetBaseUrl(std::u16string_view base);
std::u16string_view OnlineServer();
std::u16string_view HelpPageUrl();
std::u16string_view AuthorPageUrl();
std::u16string_view TheoryPageUrl();

}  // namespace site
