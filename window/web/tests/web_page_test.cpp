// The web edition's build tool: its SHA-256 and Base64, the entry ids, and
// the page it writes (each text once, hashes that match what they allow).

#include <gtest/gtest.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "catalogue/utf8.h"
#include "window/web/entry_ids.h"
#include "window/web/page.h"
#include "window/web/sha256.h"

namespace {

std::string digest(std::string_view text) {
    return web::base64(web::sha256(text));
}

TEST(Sha256, MatchesTheStandardsExamples) {
    // One block, two, none, and many (digests as sha256sum gives them).
    EXPECT_EQ(digest("abc"), "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=");
    EXPECT_EQ(digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "JI1qYdIGOLjlwCaTDD5gOaM85Flk/yFn9uzt1BnbBsE=");
    EXPECT_EQ(digest(""), "47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU=");
    EXPECT_EQ(digest(std::string(1000, 'a')), "Qe3s5C1j6Nm/UVqbppMuHCDLyfWl0TRkWttdsblzfqM=");
}

TEST(Base64, PadsTheLastGroup) {
    EXPECT_EQ(web::base64(std::string_view("f")), "Zg==");
    EXPECT_EQ(web::base64(std::string_view("fo")), "Zm8=");
    EXPECT_EQ(web::base64(std::string_view("foo")), "Zm9v");
    EXPECT_EQ(web::base64(std::string_view("\xff\xfe")), "//4=");
}

TEST(EntryIds, FollowTheStreamlinedSystem) {
    EXPECT_EQ(web::entryId(u"Васил Левски"), "vasil-levski");
    EXPECT_EQ(web::entryId(u"Христо Ботев"), "hristo-botev");
    EXPECT_EQ(web::entryId(u"Иван Вазов "), "ivan-vazov");
    EXPECT_EQ(web::entryId(u"Д-р Петър Берон"), "d-r-petar-beron");
    EXPECT_EQ(web::entryId(u"Св. Патриарх Евтимий Търновски"), "sv-patriarh-evtimiy-tarnovski");
    EXPECT_EQ(web::entryId(u"Щастлив Цар Жечо Юнак Ябълков"), "shtastliv-tsar-zhecho-yunak-yabalkov");
    // -ия ends a word as -ia, elsewhere я is ya; ь is y.
    EXPECT_EQ(web::entryId(u"София Ияница Дякон Гьоте"), "sofia-iyanitsa-dyakon-gyote");
}

TEST(EntryIds, RefuseTwoEqualIdsAndThePagesOwn) {
    EXPECT_EQ(web::entryIds({u"Васил Левски", u"Христо Ботев"}, {"title"}),
              (std::vector<std::string>{"vasil-levski", "hristo-botev"}));
    EXPECT_THROW(web::entryIds({u"Васил Левски", u"Васил  Левски!"}, {}), std::runtime_error);
    EXPECT_THROW(web::entryIds({u"Тител"}, {"titel"}), std::runtime_error);
    EXPECT_THROW(web::entryIds({u"..."}, {}), std::runtime_error);
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// The text between the first opening and the closing tag.
std::string inside(const std::string& page, const std::string& tag) {
    const std::size_t start = page.find("<" + tag + ">") + tag.size() + 2;
    return page.substr(start, page.find("</" + tag + ">", start) - start);
}

TEST(Page, HoldsEachTextOnceAndHashesWhatItRuns) {
    const web::WebEdition edition = web::makeWebEdition({"favicon", "medium", "large"});
    for (const std::string* page : {&edition.singlePage, &edition.hostedPage}) {
        for (std::size_t i = 0; i < catalogue::kNames.size(); ++i) {
            // Names and descriptions hold no characters HTML escapes.
            const std::string name = catalogue::toUtf8(catalogue::decodeCp1251(catalogue::kNames[i]));
            const std::string description =
                catalogue::toUtf8(catalogue::decodeCp1251(catalogue::kDescriptions[i]));
            EXPECT_EQ(count(*page, ">" + name + "<"), 1u) << name;
            EXPECT_EQ(count(*page, description), 1u) << name;
        }
        const std::string policyStarts = "Content-Security-Policy\" content=\"";
        const std::size_t from = page->find(policyStarts) + policyStarts.size();
        const std::string policy = page->substr(from, page->find('"', from) - from);
        EXPECT_NE(policy.find("default-src 'none'"), std::string::npos);
        EXPECT_NE(policy.find("'sha256-" + digest(inside(*page, "script")) + "'"), std::string::npos);
        EXPECT_NE(policy.find("'sha256-" + digest(inside(*page, "style")) + "'"), std::string::npos);
        EXPECT_EQ(policy.find("unsafe"), std::string::npos);
        EXPECT_EQ(count(*page, "innerHTML") + count(*page, "outerHTML") + count(*page, "insertAdjacentHTML") +
                      count(*page, "document.write"),
                  0u);
    }
    EXPECT_EQ(edition.singlePage.find("rel=\"manifest\""), std::string::npos);
    EXPECT_NE(edition.hostedPage.find(std::string("href=\"") + web::kManifestFile), std::string::npos);
    EXPECT_EQ(edition.barePage.find("<script"), std::string::npos);
}

}  // namespace
