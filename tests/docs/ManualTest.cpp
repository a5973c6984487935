// The built HTML manual: every link between its pages and every image resolves, every help context names a
// section that exists, and each page of the main window has a section headed with the page's title.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "engine/platform/HelpFile.h"

using namespace corvelin;

namespace {

namespace fs = std::filesystem;

const fs::path kManual = CORVELIN_MANUAL_DIR;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Page {
    std::string Html;
    std::map<std::string, std::string> Headings; // anchor -> heading text
    std::set<std::string> Anchors;
};

std::map<std::string, Page> LoadManual()
{
    std::map<std::string, Page> pages;
    for (const auto& entry : fs::directory_iterator(kManual)) {
        if (entry.path().extension() != ".html")
            continue;
        Page page;
        page.Html = ReadAll(entry.path());
        static const std::regex anchor(R"re((?:id|name)="([^"]+)")re");
        for (std::sregex_iterator it(page.Html.begin(), page.Html.end(), anchor), end; it != end; ++it)
            page.Anchors.insert((*it)[1]);
        static const std::regex heading(R"re(<h[1-6] id="([^"]+)"><a name="[^"]*"></a>(.*?)</h[1-6]>)re");
        for (std::sregex_iterator it(page.Html.begin(), page.Html.end(), heading), end; it != end; ++it)
            page.Headings[(*it)[1]] = std::regex_replace((*it)[2].str(), std::regex("<[^>]*>"), "");
        pages[entry.path().filename().string()] = std::move(page);
    }
    return pages;
}

// "page.html#anchor" against the loaded pages; an empty text when it resolves, else what is missing.
std::string Unresolved(const std::map<std::string, Page>& pages, const std::string& from, const std::string& target)
{
    const std::size_t hash = target.find('#');
    const std::string file = hash == std::string::npos ? target : target.substr(0, hash);
    const std::string anchor = hash == std::string::npos ? "" : target.substr(hash + 1);
    const std::string name = file.empty() ? from : file;
    const auto page = pages.find(name);
    if (page == pages.end())
        return fs::exists(kManual / name) && anchor.empty() ? "" : "no file " + name;
    if (!anchor.empty() && !page->second.Anchors.count(anchor))
        return "no anchor #" + anchor + " in " + name;
    return "";
}

} // namespace

TEST(ManualTest, LinksAndImagesResolve)
{
    const auto pages = LoadManual();
    ASSERT_TRUE(pages.count("index.html")) << kManual;
    int checked = 0;
    static const std::regex reference(R"re((href|src)="([^"]*)")re");
    for (const auto& [name, page] : pages)
        for (std::sregex_iterator it(page.Html.begin(), page.Html.end(), reference), end; it != end; ++it) {
            const std::string target = (*it)[2];
            if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0)
                continue;
            ++checked;
            EXPECT_EQ(Unresolved(pages, name, target), "") << name << " links to \"" << target << "\"";
        }
    EXPECT_GT(checked, 20);
}

TEST(ManualTest, EveryHelpContextHasItsSection)
{
    const auto pages = LoadManual();
    for (const HelpTopic& topic : HelpTopics()) {
        const std::string target = topic.Target;
        EXPECT_EQ(Unresolved(pages, "index.html", target), "") << "context " << topic.Context;
        const std::size_t hash = target.find('#');
        if (hash == std::string::npos)
            continue;
        // The section is headed with the page's tab title (or the dialog's caption), so the user finds what
        // the program calls it.
        const auto page = pages.find(target.substr(0, hash));
        ASSERT_NE(page, pages.end());
        const auto heading = page->second.Headings.find(target.substr(hash + 1));
        ASSERT_NE(heading, page->second.Headings.end()) << target << " is not a heading";
        EXPECT_NE(heading->second.find(topic.Title), std::string::npos)
            << target << " is headed \"" << heading->second << "\", not \"" << topic.Title << "\"";
    }
}

TEST(ManualTest, EveryPageOfTheMainWindowHasAHelpContext)
{
    const char* tabs[] = {
        "Library Search", "Match Matrix",       "Add Chromatogram", "Mass Spec Match Report",
        "Overlay Plot",   "Chromatogram Match", "Peak Match Table", "Multiple Chromatogram Peak List"};
    for (int tab = 1; tab <= 8; ++tab) {
        bool found = false;
        for (const HelpTopic& topic : HelpTopics())
            found = found || (topic.Context == tab && std::string(topic.Title) == tabs[tab - 1]);
        EXPECT_TRUE(found) << "tab " << tab << " \"" << tabs[tab - 1] << "\"";
    }
}

TEST(ManualTest, HelpIndexBesideTheProgramFolder)
{
    EXPECT_EQ(HelpIndexPath("/usr/bin/"), "/usr/bin/../share/corvelinscope/manual/index.html");
    EXPECT_EQ(HelpTarget(kHelpLibrarySearch), "pages.html#library-search");
    EXPECT_EQ(HelpTarget(12345), "index.html");
}

TEST(ManualTest, TheIndexListsTheContextsAsTheProgramMapsThem)
{
    // The index's table "Context | Where F1 is pressed | Section" must say what the program does.
    const auto pages = LoadManual();
    const std::string& html = pages.at("index.html").Html;
    static const std::regex row(R"re(<tr>\s*<td>(\d+)</td>\s*<td>[^<]*</td>\s*<td>(?:<a href="([^"]*)">)?)re");
    int rows = 0;
    for (std::sregex_iterator it(html.begin(), html.end(), row), end; it != end; ++it, ++rows) {
        const int context = std::stoi((*it)[1]);
        const std::string target = (*it)[2].matched ? (*it)[2].str() : "index.html";
        EXPECT_EQ(target, HelpTarget(context)) << "context " << context;
    }
    EXPECT_EQ(rows, static_cast<int>(HelpTopics().size()));
}
