// Parsing speed of the XML reader beside pugixml and tinyxml2, on a question document and a
// large set list, each as Windows-1250 and as UTF-16LE with a byte order mark. Every library
// builds and frees a whole tree per iteration. Bytes per second count the document as our
// reader gets it, so the rates of one document compare as times.

#include "FloorRatio.h"
#include "core/base/CodePage.h"
#include "core/storage/XmlDocument.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <tinyxml2.h>

#include <string>

namespace {

std::string QuestionDocument() {
    const std::string sentence = "Zażółć gęślą jaźń &amp; policz, ile to 2 &lt; 3 &gt; 1 w „ułamkach” i procentach. ";
    std::string longText;
    for (int i = 0; i < 14; ++i)
        longText += sentence;
    std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<!-- pytanie -->\r\n<pyt>\r\n";
    const auto field = [&xml](const std::string& name, const std::string& text) {
        xml += "\t<" + name + ">" + text + "</" + name + ">\r\n";
    };
    field("cd", "pl");
    field("typ", "1");
    field("ilo", "5");
    field("tr", longText);
    for (int i = 1; i <= 5; ++i)
        field("od" + std::to_string(i), "Odpowiedź numer " + std::to_string(i) + ": " + sentence + sentence + sentence);
    field("odp", "10100");
    field("plr", "Tekst.txt");
    field("plimg", "Obraz.JPG");
    field("kom", longText);
    field("dtu", "45123.5");
    return xml + "</pyt>\r\n";
}

std::string SetListDocument() {
    const char* const names[] = {"Ułamki zwykłe", "Geometria płaska", "Ćwiczenia z łaciny", "Dzieje Śląska"};
    const char* const folders[] = {"Matematyka\\Ulamki", "Matematyka\\Geometria", "Jezyki\\Lacina", "Historia\\Slask"};
    std::string entries;
    int count = 0;
    for (; entries.size() < 1000000; ++count) {
        const std::string index = std::to_string(count);
        entries += "\t<dx" + index + ">" + index + "*1*0*" + std::to_string(count / 4) + "*1*0*" + names[count % 4] +
                   "*" + folders[count % 4] + "*</dx" + index + ">\r\n";
    }
    return "<?xml version=\"1.0\"?>\r\n<lsz>\r\n\t<cd>pl</cd>\r\n\t<ilw>" + std::to_string(count) +
           "</ilw>\r\n\t<name>Lista zestawów</name>\r\n" + entries + "</lsz>\r\n";
}

// One document in the forms the readers get it.
struct Document {
    std::string ours; // Windows-1250 bytes, or the UTF-16LE bytes with their byte order mark
    std::string utf8; // for tinyxml2, which reads no UTF-16; the 8-bit form it gets as it is
    bool wide = false;
};

Document MakeDocument(const std::string& utf8, bool wide) {
    Document document;
    document.wide = wide;
    if (wide) {
        document.ours = "\xFF\xFE";
        for (const char16_t c : Utf8ToWide(utf8)) {
            document.ours.push_back(static_cast<char>(c & 0xFF));
            document.ours.push_back(static_cast<char>(c >> 8));
        }
        document.utf8 = utf8;
    } else {
        document.ours = Utf8ToAnsi(utf8);
        document.utf8 = document.ours;
    }
    return document;
}

ByteView BytesOf(const std::string& text) {
    return ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

void Report(benchmark::State& state, const Document& document) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.ours.size()));
    state.SetLabel(std::to_string(document.ours.size()) + " bytes");
}

bool ParseOurs(const Document& document) {
    XmlDocument xml;
    const bool parsed = xml.LoadFromStream(BytesOf(document.ours));
    benchmark::DoNotOptimize(parsed);
    return parsed;
}

bool ParsePugixml(const Document& document) {
    const pugi::xml_encoding encoding = document.wide ? pugi::encoding_utf16_le : pugi::encoding_utf8;
    pugi::xml_document xml;
    const pugi::xml_parse_result result =
        xml.load_buffer(document.ours.data(), document.ours.size(), pugi::parse_default, encoding);
    benchmark::DoNotOptimize(result.status);
    return static_cast<bool>(result);
}

void Ludra(benchmark::State& state, const Document& document) {
    for (auto _ : state) {
        if (!ParseOurs(document))
            state.SkipWithError("did not parse");
    }
    Report(state, document);
}

void Pugixml(benchmark::State& state, const Document& document) {
    for (auto _ : state) {
        if (!ParsePugixml(document))
            state.SkipWithError("did not parse");
    }
    Report(state, document);
}

// Ours and pugixml alternately; the ratio is the row's measure.
void BesidePugixml(benchmark::State& state, const Document& document) {
    CompareWithFloor(
        state, [&document] { ParseOurs(document); }, [&document] { ParsePugixml(document); });
}

// Reads the UTF-8 form of a UTF-16 document, converted before timing.
void Tinyxml2(benchmark::State& state, const Document& document) {
    for (auto _ : state) {
        tinyxml2::XMLDocument xml;
        const tinyxml2::XMLError error = xml.Parse(document.utf8.data(), document.utf8.size());
        benchmark::DoNotOptimize(error);
        if (error != tinyxml2::XML_SUCCESS)
            state.SkipWithError("did not parse");
    }
    Report(state, document);
}

void RegisterAll() {
    static const std::string question = QuestionDocument();
    static const std::string setList = SetListDocument();
    static const struct {
        const char* name;
        Document document;
    } documents[] = {
        {"question_ansi", MakeDocument(question, false)},
        {"question_utf16", MakeDocument(question, true)},
        {"setlist_ansi", MakeDocument(setList, false)},
        {"setlist_utf16", MakeDocument(setList, true)},
    };
    for (const auto& [name, document] : documents) {
        const std::string prefix = std::string("Xml/") + name;
        benchmark::RegisterBenchmark((prefix + "/ludra").c_str(), Ludra, document);
        benchmark::RegisterBenchmark((prefix + "/pugixml").c_str(), Pugixml, document);
        benchmark::RegisterBenchmark((prefix + "/tinyxml2").c_str(), Tinyxml2, document);
        benchmark::RegisterBenchmark((prefix + "/ratio").c_str(), BesidePugixml, document)->UseManualTime();
    }
}

} // namespace

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
