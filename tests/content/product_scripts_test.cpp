// The scripts and file texts the install writes, formatted the way the
// install formats them, are well-formed for the program that reads them:
// xmllint checks the input-language scripts and the web pages.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/setup_resources.h"
#include "tests/content/product_texts.h"
#include "text/unistring.h"

namespace {

std::string Narrow(UniString& text)
{
    text.MakeNarrow(-1);
    return std::string(text.NarrowPtr(0), std::size_t(text.Length()));
}

class ProductScripts : public ProductTexts {
protected:
    // Runs xmllint with `options` over `text` written to a file; returns its
    // exit status and keeps what it printed in `report`.
    int Lint(const std::string& text, const char* options, std::string& report)
    {
        char path[] = "/tmp/product-script-XXXXXX";
        const int fd = mkstemp(path);
        if (fd < 0)
            return -1;
        std::FILE* file = fdopen(fd, "wb");
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        const std::string command = std::string("xmllint ") + options + " " + path + " 2>&1";
        std::FILE* pipe = popen(command.c_str(), "r");
        char line[512];
        report.clear();
        while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr)
            report += line;
        const int status = pipe != nullptr ? pclose(pipe) : -1;
        std::remove(path);
        return status;
    }

    std::u16string klid, fragment, userList;

    void SetUp() override
    {
        ProductTexts::SetUp();
        klid = WideText(85, 0);
        fragment = WideText(64, 0);
        userList = WideText(90, 0);
        ASSERT_FALSE(klid.empty());
        ASSERT_FALSE(fragment.empty());
        ASSERT_FALSE(userList.empty());
    }
};

TEST_F(ProductScripts, InputLanguageScriptsAreWellFormedWithAndWithoutTheFragment)
{
    const std::u16string empty;
    const std::u16string* const parts[] = {&fragment, &empty};
    for (const std::u16string* part : parts) {
        UniString vista, windows8;
        ASSERT_EQ(vista.Format(WideText(62, 0).c_str(), 0x0415u, klid.c_str(), part->c_str()), 1);
        ASSERT_EQ(windows8.Format(WideText(63, 0).c_str(), userList.c_str(), 0x0415u, klid.c_str(), part->c_str(),
                                  0x0415u, 0x0415u),
                  1);
        for (UniString* script : {&vista, &windows8}) {
            const std::string text = Narrow(*script);
            std::string report;
            EXPECT_EQ(Lint(text, "--noout", report), 0) << report << text;
            EXPECT_NE(text.find("<gs:InputLanguageID Action=\"add\" ID=\"0415:d1a40415\""), std::string::npos)
                << text;
            EXPECT_EQ(text.find("Default=\"true\"") != std::string::npos, part == &fragment) << text;
        }
    }
}

TEST_F(ProductScripts, RemovalScriptsRemoveTheLayout)
{
    UniString later, earlier;
    const char16_t none[] = u"";
    ASSERT_EQ(later.Format(WideText(66, 0).c_str(), none), 1);
    ASSERT_EQ(earlier.Format(WideText(65, 0).c_str(), none, none), 1);
    const std::string xml = Narrow(later);
    std::string report;
    EXPECT_EQ(Lint(xml, "--noout", report), 0) << report << xml;
    EXPECT_NE(xml.find("<gs:InputLanguageID Action=\"remove\" ID=\"0415:d1a40415\"/>"), std::string::npos) << xml;
    // The Regional Options answer file of Windows 2000 and XP has its section.
    EXPECT_NE(Narrow(earlier).find("\r\n[RegionalSettings]\r\n"), std::string::npos);
}

TEST_F(ProductScripts, WebLinkFileOpensTheLinkedDocument)
{
    UniString link;
    const char16_t folder[] = u"C:\\Program Files\\Wrzosowa Pracownia\\Wierzba";
    ASSERT_EQ(link.Format(WideText(69, 0).c_str(), folder, WideText(80, 0).c_str()), 1);
    EXPECT_EQ(Narrow(link),
              "[InternetShortcut]\r\nURL=file:///C:\\Program Files\\Wrzosowa Pracownia\\Wierzba\\wierzba-charts.htm\r\n");
}

TEST_F(ProductScripts, DocumentsAreValidWebPages)
{
    const EmbeddedRecord documents[] = {ProductResources().mainDocument, ProductResources().extraDocument,
                                        ProductResources().linkedDocument};
    for (const EmbeddedRecord& document : documents) {
        const std::string page = Decode(document);
        std::string report;
        EXPECT_EQ(Lint(page, "--html --noout", report), 0) << report;
        EXPECT_EQ(report, "");
    }
}

}  // namespace
