// XML reader: element events in document order with their attributes and depth,
// documents fed whole or in pieces, and documents that are not well-formed
// (malformed, cut short at any byte, empty) answered with an error, never a crash.
#include "lib/src/iXML.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Writes each event as one line: "<name a=v ...> depth" or "</name> depth", the
// depth being the one seen after the base operation ran.
class Recorder : public iXML {
public:
    void StartElement(const char* name, const char** attributes) override
    {
        iXML::StartElement(name, attributes);
        std::string line = std::string("<") + name;
        for (const char** a = attributes; a && *a; a += 2)
            line += std::string(" ") + a[0] + "=" + a[1];
        events.push_back(line + "> " + std::to_string(m_depth));
    }
    void EndElement(const char* name) override
    {
        iXML::EndElement(name);
        events.push_back(std::string("</") + name + "> " + std::to_string(m_depth));
    }
    int Depth() const { return m_depth; }
    int ParseAll(const std::string& text) { return Parse(text.data(), static_cast<int>(text.size()), 1); }

    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

const char kBanner[] =
    "<?xml version=\"1.0\"?>\n"
    "<Banner>\n"
    "  <Page value=\"12\"/>\n"
    "  <Timing><Duration value=\"5000\" unit=\"ms\"/></Timing>\n"
    "</Banner>\n";

const Events kBannerEvents = {
    "<Banner> 1", "<Page value=12> 2", "</Page> 1", "<Timing> 2", "<Duration value=5000 unit=ms> 3",
    "</Duration> 2", "</Timing> 1", "</Banner> 0",
};

} // namespace

TEST(XmlReader, RootWithTwoEmptyChildrenGivesThreeStartsAndThreeEnds)
{
    Recorder reader;
    EXPECT_NE(0, reader.ParseAll("<root><a/><b></b></root>"));
    EXPECT_EQ((Events{"<root> 1", "<a> 2", "</a> 1", "<b> 2", "</b> 1", "</root> 0"}), reader.events);
    EXPECT_EQ(0, reader.Depth());
}

TEST(XmlReader, NestedElementsWithAttributesArriveInDocumentOrder)
{
    Recorder reader;
    EXPECT_NE(0, reader.ParseAll(kBanner));
    EXPECT_EQ(kBannerEvents, reader.events);
}

TEST(XmlReader, AttributeValuesArriveDecodedAndTheListEndsWithNull)
{
    struct Seen : iXML {
        std::vector<std::string> pairs;
        bool endsWithNull = false;
        void StartElement(const char* name, const char** attributes) override
        {
            iXML::StartElement(name, attributes);
            int i = 0;
            for (; attributes[i]; ++i)
                pairs.push_back(attributes[i]);
            endsWithNull = (i % 2 == 0);
        }
    } reader;
    const char doc[] = "<e first='a &amp; b' second=\"&lt;&#65;&gt;\" third=''/>";
    EXPECT_NE(0, reader.Parse(doc, static_cast<int>(strlen(doc)), 1));
    EXPECT_EQ((std::vector<std::string>{"first", "a & b", "second", "<A>", "third", ""}), reader.pairs);
    EXPECT_TRUE(reader.endsWithNull);
}

TEST(XmlReader, DocumentDeclarationChoosesTheEncoding)
{
    // The reader names no encoding of its own, so a Latin-1 document is read as
    // Latin-1 and its e-acute reaches the events in UTF-8.
    Recorder latin1;
    EXPECT_NE(0, latin1.ParseAll("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><e v=\"\xE9\"/>"));
    EXPECT_EQ((Events{"<e v=\xC3\xA9> 1", "</e> 0"}), latin1.events);

    // Without a declaration the document is UTF-8, where a lone 0xE9 is malformed.
    Recorder utf8;
    EXPECT_EQ(0, utf8.ParseAll("<e v=\"\xE9\"/>"));
}

TEST(XmlReader, DocumentInPiecesGivesTheSameEventsAtEverySplit)
{
    const std::string doc = kBanner;
    for (size_t split = 0; split <= doc.size(); ++split) {
        SCOPED_TRACE("split at " + std::to_string(split));
        Recorder reader;
        EXPECT_NE(0, reader.Parse(doc.data(), static_cast<int>(split), 0));
        EXPECT_NE(0, reader.Parse(doc.data() + split, static_cast<int>(doc.size() - split), 1));
        EXPECT_EQ(kBannerEvents, reader.events);
    }
}

TEST(XmlReader, MalformedDocumentsAreAnErrorAndKeepTheEventsBeforeIt)
{
    struct Case {
        const char* why;
        const char* doc;
        Events before;
    };
    const Case kCases[] = {
        {"end tag does not match", "<a><b></a>", {"<a> 1", "<b> 2"}},
        {"two roots", "<a/><b/>", {"<a> 1", "</a> 0"}},
        {"unquoted attribute", "<a><b x=1/></a>", {"<a> 1"}},
        {"attribute given twice", "<a x='1' x='2'/>", {}},
        {"undefined entity", "<a>&nope;</a>", {"<a> 1"}},
        {"text before the root", "hello <a/>", {}},
        {"not XML at all", "HTTP/1.0 404 Not Found\r\n\r\n", {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        Recorder reader;
        EXPECT_EQ(0, reader.Parse(c.doc, static_cast<int>(strlen(c.doc)), 1));
        EXPECT_EQ(c.before, reader.events);
    }
}

TEST(XmlReader, ZeroByteInsideTheDocumentIsAnError)
{
    const char doc[] = "<a>\0</a>";
    Recorder reader;
    EXPECT_EQ(0, reader.Parse(doc, static_cast<int>(sizeof doc - 1), 1));
    EXPECT_EQ((Events{"<a> 1"}), reader.events);
}

TEST(XmlReader, DocumentCutAtEveryOffsetIsAnErrorAfterAPrefixOfTheEvents)
{
    const std::string doc = kBanner;
    // The last bytes after the root's end are only white space; cutting there
    // leaves a whole document.
    const size_t rootEnd = doc.find("</Banner>") + strlen("</Banner>");
    for (size_t cut = 0; cut < rootEnd; ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        Recorder reader;
        EXPECT_EQ(0, reader.Parse(doc.data(), static_cast<int>(cut), 1));
        // What arrived is a prefix of the whole document's events.
        ASSERT_LT(reader.events.size(), kBannerEvents.size());
        EXPECT_TRUE(std::equal(reader.events.begin(), reader.events.end(), kBannerEvents.begin()));
        EXPECT_GE(reader.Depth(), 0);
    }
    Recorder whole;
    EXPECT_NE(0, whole.Parse(doc.data(), static_cast<int>(rootEnd), 1));
}

TEST(XmlReader, EmptyDocumentIsAnError)
{
    Recorder reader;
    EXPECT_EQ(0, reader.Parse("", 0, 1));
    Recorder nothing;
    EXPECT_EQ(0, nothing.Parse(nullptr, 0, 1));
    Recorder blanks;
    EXPECT_EQ(0, blanks.ParseAll(" \r\n\t"));
    EXPECT_TRUE(reader.events.empty() && nothing.events.empty() && blanks.events.empty());
}

TEST(XmlReader, ImpossibleBuffersAreRefusedWithoutReadingThem)
{
    Recorder reader;
    EXPECT_EQ(0, reader.Parse(nullptr, 10, 1));
    Recorder negative;
    EXPECT_EQ(0, negative.Parse("<a/>", -1, 1));
    EXPECT_TRUE(reader.events.empty() && negative.events.empty());
}

TEST(XmlReader, AfterAnErrorLaterPiecesAreRefused)
{
    Recorder reader;
    EXPECT_EQ(0, reader.Parse("<a></b>", 7, 0));
    EXPECT_EQ(0, reader.Parse("<c/>", 4, 1));
    EXPECT_EQ((Events{"<a> 1"}), reader.events);
}

TEST(XmlReader, ThrowingOverrideStopsTheParseWithAnError)
{
    struct Thrower : Recorder {
        void StartElement(const char* name, const char** attributes) override
        {
            if (strcmp(name, "bad") == 0)
                throw std::runtime_error("refused");
            Recorder::StartElement(name, attributes);
        }
    } reader;
    EXPECT_EQ(0, reader.ParseAll("<a><bad/><c/></a>"));
    EXPECT_EQ((Events{"<a> 1"}), reader.events);
}

TEST(XmlReader, FrameworkExceptionFromAnOverrideIsReleased)
{
    static int released = 0;
    struct Refusal : CException {
        ~Refusal() override { ++released; }
    };
    struct Thrower : Recorder {
        void EndElement(const char* name) override
        {
            if (strcmp(name, "bad") == 0)
                throw new Refusal;
            Recorder::EndElement(name);
        }
    } reader;
    EXPECT_EQ(0, reader.ParseAll("<a><bad/><c/></a>"));
    EXPECT_EQ(1, released);
}
