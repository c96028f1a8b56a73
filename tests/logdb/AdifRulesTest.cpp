// The rules of the ADIF mapping, one table each: every case is a small log written for it, read
// as a run reads it, and the column that the rule fills compared row by row.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "logdb/DbError.h"
#include "logdb/LogFormat.h"

namespace corvale {
namespace {

using namespace std::string_literals;

// A country file in the format of cty.csv, with the decorations that real lines carry.
constexpr char kCountries[] =
    "K,United States,291,NA,5,8,37.60,91.87,5.0,AA K N W(4)[7] =W1AW/LH =N2NL/MM(7);\n"
    "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6 KH6 {x}WH6;\n"
    "KL,Alaska,6,NA,1,1,61.40,148.87,8.0,AL KL =W1XYZ;\n"
    "KP4,Puerto Rico,202,NA,8,11,18.18,66.55,4.0,KP4 <18.1/66.5>NP4;\n"
    "*GM/s,Shetland Islands,279,EU,14,27,60.50,1.50,0.0,=GB2ELH;\n"
    "VE,Canada,1,NA,5,9,44.35,78.75,5.0,VE ~x~VA;\n";

struct Read {
    std::shared_ptr<const QsoTable> table;
    AdifReadReport report;
};

class AdifRules : public ::testing::Test {
  protected:
    AdifRules() { test::WriteFile(folder_ / "cty.csv", kCountries); }

    LogReadOptions Options() const {
        LogReadOptions options;
        options.countryFile = folder_.File("cty.csv");
        return options;
    }

    // The log's name says nothing of its kind: the content tells.
    Read ReadText(const std::string& text, const LogReadOptions& options) const {
        const std::string path = folder_.File("log.txt");
        test::WriteFile(path, text);
        LogRead read = ReadLog(path, QsoColumnSet::All(), options);
        return {read.table, read.adif};
    }
    Read ReadText(const std::string& text) const { return ReadText(text, Options()); }

    // One column of every row.
    std::vector<std::string> ColumnOf(const std::string& text, QsoColumn column) const {
        return Cells(*ReadText(text).table, column);
    }

    static std::vector<std::string> Cells(const QsoTable& table, QsoColumn column) {
        std::vector<std::string> cells;
        for (std::size_t row = 0; row < table.RowCount(); ++row)
            cells.emplace_back(table.Text(row, column));
        return cells;
    }

    test::TempFolder folder_;
};

using Values = std::vector<std::string>;

struct ColumnCase {
    const char* name;
    std::string log;
    Values expected;
};

// Header forms and the tags that end a header, a record and the file.
TEST_F(AdifRules, HeaderAndRecordEnds) {
    const std::vector<ColumnCase> cases = {
        {"text header",
         "Log of W1AW\n<ADIF_VER:5>3.1.4<EOH><QSO_DATE:8>20240101<EOR>",
         {"20240101"}},
        {"header starting with a field",
         "<PROGRAMID:4>Test<EOH>\n<QSO_DATE:8>20240101<eor>",
         {"20240101"}},
        {"no header: the first fields are a record",
         "<QSO_DATE:8>20240101<EOR><QSO_DATE:8>20240102<EOR>",
         {"20240101", "20240102"}},
        {"<EOH> after the first <EOR> is no header",
         "<QSO_DATE:8>20240101<EOR><QSO_DATE:8>20240102<EOH><CALL:4>W1AW<EOR>",
         {"20240101", "20240102"}},
        {"header without records", "<ADIF_VER:5>3.1.4<EOH>\n", {}},
        {"<EOR> without a field makes no record",
         "<EOH><EOR><eor><QSO_DATE:8>20240101<EoR><EOR>",
         {"20240101"}},
        {"a record without a date is kept", "<EOH><CALL:4>W1AW<EOR>", {""}},
        {"last record without <EOR> kept with a date", "<EOH><QSO_DATE:8>20240101", {"20240101"}},
        {"last record without <EOR> dropped without a date", "<EOH><QSO_DATE:0><CALL:4>W1AW", {}},
        {"<APP_LoTW_EOF> ends the file",
         "<EOH><QSO_DATE:8>20240101<APP_lotw_EOF><QSO_DATE:8>20240102<EOR>",
         {"20240101"}},
    };
    for (const ColumnCase& c : cases)
        EXPECT_EQ(ColumnOf(c.log, QsoColumn::Date), c.expected) << c.name;
}

// How a field is written: type letters, case, lengths in bytes, text around, repeats, blanks.
TEST_F(AdifRules, FieldSyntax) {
    const std::vector<ColumnCase> cases = {
        {"type letter", "<EOH><CALL:4:S>W1AW<QSO_DATE:8:D>20240101<EOR>", {"W1AW"}},
        {"name in any case", "<EOH><cAlL:4>W1AW<EOR>", {"W1AW"}},
        {"length counts bytes", "<EOH><CALL:4>W1AWxyz<EOR>", {"W1AW"}},
        {"text and comments between fields", "<EOH> x:y <CALL:4>W1AW // note\n<EOR>", {"W1AW"}},
        {"< that opens no tag", "<EOH>< <a <b:> <c:x> <CALL:4>W1AW <d:1<EOR>", {"W1AW"}},
        {"a tag inside a value is value", "<EOH><CALL:11>W1AW <EOR> <EOR>", {"W1AW <EOR>"}},
        {"repeated field: the last holds", "<EOH><CALL:4>W1AW<CALL:5>K1ABC<EOR>", {"K1ABC"}},
        {"blanks trimmed", "<EOH><CALL:9> \tW1AW\r\n <EOR>", {"W1AW"}},
        {"a field named like a call", "<EOH><W1AW:3>abc<CALL:4>K1AB<EOR>", {"K1AB"}},
        {"Latin-1 read as Latin-1", "<EOH><CALL:6>J\xFCrgen<EOR>", {"J\xC3\xBCrgen"}},
        {"UTF-8 kept", "<EOH><CALL:7>J\xC3\xBCrgen<EOR>", {"J\xC3\xBCrgen"}},
        {"binary garbage after the header",
         "<EOH>\x01\xFF\x00<\x80:\xFE<CALL:4>W1AW<EOR>"s,
         {"W1AW"}},
    };
    for (const ColumnCase& c : cases)
        EXPECT_EQ(ColumnOf(c.log, QsoColumn::Call), c.expected) << c.name;
}

// Field names are told without case, by every byte: a name that shares a known name's length and
// first and last letters, or differs from it in a byte other than a letter's case, is another
// field.
TEST_F(AdifRules, FieldNames) {
    struct Case {
        const char* name;
        std::string log;
        QsoColumn column;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"date in lower case", "<EOH><qso_date:8>20240101<EOR>", QsoColumn::Date, {"20240101"}},
        {"time, seven letters", "<EOH><Time_On:4>1234<EOR>", QsoColumn::Time, {"1234"}},
        {"grid in mixed case", "<EOH><GridSquare:4>fn42<EOR>", QsoColumn::Grid, {"FN42"}},
        {"thirteen letters", "<EOH><lotw_QSL_rcvd:1>Y<EOR>", QsoColumn::Confirm, {"3"}},
        {"a letter changed inside", "<EOH><TIMX_ON:4>1234<EOR>", QsoColumn::Time, {""}},
        {"a letter changed inside a long name",
         "<EOH><GRIDSXUARE:4>FN42<EOR>",
         QsoColumn::Grid,
         {""}},
        {"the middle of thirteen letters",
         "<EOH><LOTW_QSX_RCVD:1>Y<EOR>",
         QsoColumn::Confirm,
         {""}},
        {"DEL where the name has _",
         "<EOH><QSO\x7F"
         "DATE:8>20240101<EOR>",
         QsoColumn::Date,
         {""}},
        {"longer", "<EOH><CALLS:4>W1AW<EOR>", QsoColumn::Call, {""}},
        {"shorter", "<EOH><CAL:4>W1AW<EOR>", QsoColumn::Call, {""}},
        {"same length and ends", "<EOH><CXXL:4>W1AW<EOR>", QsoColumn::Call, {""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColumnOf(c.log, c.column), c.expected) << c.name;
}

TEST_F(AdifRules, GridsAndVuccGrids) {
    const std::vector<ColumnCase> cases = {
        {"grid upper-cased whole", "<EOH><GRIDSQUARE:6>fn31pr<EOR>", {"FN31PR"}},
        {"no grid", "<EOH><CALL:4>W1AW<EOR>", {""}},
        {"a row per square, the grid's square last",
         "<EOH><GRIDSQUARE:6>fn31pr<VUCC_GRIDS:9>EN98,en99<EOR>",
         {"EN98", "EN99", "FN31"}},
        {"squares cut, trimmed, empty ones skipped, each once",
         "<EOH><GRIDSQUARE:4>EN98<VUCC_GRIDS:26> en98ab, ,FN42,fn42,,FN43 <EOR>",
         {"EN98", "FN42", "FN43"}},
        {"VUCC_GRIDS naming no square", "<EOH><GRIDSQUARE:4>fn31<VUCC_GRIDS:3> , <EOR>", {"FN31"}},
        {"VUCC_GRIDS without a grid", "<EOH><VUCC_GRIDS:9>CN87,CN88<EOR>", {"CN87", "CN88"}},
    };
    for (const ColumnCase& c : cases)
        EXPECT_EQ(ColumnOf(c.log, QsoColumn::Grid), c.expected) << c.name;

    // Every row of a record carries its other columns.
    const Read read = ReadText("<EOH><QSO_DATE:8>20240101<STATE:2>ct<VUCC_GRIDS:9>FN31,FN41<EOR>");
    EXPECT_EQ(Cells(*read.table, QsoColumn::State), (Values{"CT", "CT"}));
    EXPECT_EQ(Cells(*read.table, QsoColumn::Date), (Values{"20240101", "20240101"}));
    EXPECT_EQ(read.report.records, 1u);
    EXPECT_EQ(read.report.rows, 2u);
}

TEST_F(AdifRules, BandFromBandOrFreq) {
    const std::vector<ColumnCase> cases = {
        {"6m", "<EOH><BAND:2>6M<EOR>", {"1"}},
        {"2m", "<EOH><BAND:2>2m<EOR>", {"0"}},
        {"1.25m", "<EOH><BAND:5>1.25M<EOR>", {"11"}},
        {"70cm", "<EOH><BAND:4>70CM<EOR>", {"12"}},
        {"other band in lower case", "<EOH><BAND:3>20M<EOR>", {"20m"}},
        {"BAND wins over FREQ", "<EOH><BAND:3>20m<FREQ:4>50.1<EOR>", {"20m"}},
        {"FREQ 50 to 54", "<EOH><FREQ:6>50.125<EOR><FREQ:2>54<EOR>", {"1", "1"}},
        {"FREQ 144 to 148", "<EOH><FREQ:3>144<EOR><FREQ:8>148.0000<EOR>", {"0", "0"}},
        {"FREQ 222 to 225", "<EOH><FREQ:5>222.1<EOR>", {"11"}},
        {"FREQ 420 to 450", "<EOH><FREQ:3>420<EOR><FREQ:4>+450<EOR>", {"12", "12"}},
        {"FREQ outside the bands", "<EOH><FREQ:5>49.99<EOR><FREQ:8>148.0001<EOR>", {"", ""}},
        {"FREQ that is no number",
         "<EOH><FREQ:6>50,125<EOR><FREQ:4>50MHz<EOR><FREQ:1>.<EOR>",
         {"", "", ""}},
        {"empty BAND falls to FREQ", "<EOH><BAND:0><FREQ:5>432.1<EOR>", {"12"}},
    };
    for (const ColumnCase& c : cases)
        EXPECT_EQ(ColumnOf(c.log, QsoColumn::Band), c.expected) << c.name;
}

TEST_F(AdifRules, SatelliteStateAndIota) {
    const std::vector<ColumnCase> sat = {
        {"neither", "<EOH><PROP_MODE:2>ES<EOR>", {"None"}},
        {"SAT_NAME", "<EOH><SAT_NAME:5>AO-91<EOR>", {"AO-91"}},
        {"PROP_MODE SAT without a name", "<EOH><PROP_MODE:3>sat<EOR>", {"SAT"}},
        {"both", "<EOH><PROP_MODE:3>SAT<SAT_NAME:3>ISS<EOR>", {"ISS"}},
    };
    for (const ColumnCase& c : sat)
        EXPECT_EQ(ColumnOf(c.log, QsoColumn::Sat), c.expected) << c.name;
    EXPECT_EQ(
        ColumnOf("<EOH><IOTA:6>eu-005<EOR><IOTA:5>OC019<EOR><IOTA:4>EU-5<EOR>", QsoColumn::Iota),
        (Values{"EU005", "OC019", "EU5"}));
    EXPECT_EQ(ColumnOf("<EOH><STATE:2>ct<EOR><STATE:0><EOR>", QsoColumn::State),
              (Values{"CT", ""}));
}

// The DXCC field when it is usable, the call's entity when it is not.
TEST_F(AdifRules, EntityOfARecord) {
    struct Case {
        const char* name;
        std::string fields;
        const char* prefix;
        std::size_t fromCalls;
    };
    const std::vector<Case> cases = {
        {"DXCC code", "<DXCC:3>291<CALL:4>VE3X", "K", 0},
        {"DXCC with leading zeros and blanks", "<DXCC:6> 0110 ", "KH6", 0},
        {"DXCC code without a key", "<DXCC:3>517<CALL:4>W1AW", "", 0},
        {"DXCC code not in the table", "<DXCC:9>999999999<CALL:4>W1AW", "", 0},
        {"DXCC 0: the call", "<DXCC:1>0<CALL:4>W1AW", "K", 1},
        {"DXCC not a whole number: the call", "<DXCC:2>-6<CALL:4>VE3X", "VE", 1},
        {"DXCC empty: the call", "<DXCC:0><CALL:4>KL7A", "KL7", 1},
        {"no call", "<DXCC:0>", "", 0},
        {"call trimmed, upper-cased", "<CALL:8> w1aw/p ", "K", 1},
        {"exact entry wins", "<CALL:5>W1XYZ", "KL7", 1},
        {"exact entry of a * line", "<CALL:6>GB2ELH", "GM", 1},
        {"exact entry before the /MM rule", "<CALL:7>N2NL/MM", "K", 1},
        {"/MM: no entity", "<CALL:7>W1AB/MM", "", 0},
        {"/AM: no entity", "<CALL:7>W1AB/AM", "", 0},
        {"suffixes dropped repeatedly", "<CALL:14>KH6ABC/QRP/P/4", "KH6", 1},
        {"/A /B /LH /M dropped", "<CALL:14>WH6AB/A/B/LH/M", "KH6", 1},
        {"the shorter part: before", "<CALL:8>KH6/W1AW", "KH6", 1},
        {"the shorter part: after", "<CALL:8>W1AW/KH6", "KH6", 1},
        {"parts equally long: the first", "<CALL:5>KL/VE", "KL7", 1},
        {"a suffix dropped before the parts", "<CALL:10>KP4/W1AW/P", "KP4", 1},
        {"decorated prefixes", "<CALL:5>NP4AB<EOR><CALL:4>VA3X", "KP4", 2},
        {"unknown call", "<CALL:6>XX1ABC", "", 0},
    };
    for (const Case& c : cases) {
        const Read read = ReadText("<EOH>" + c.fields + "<EOR>");
        ASSERT_GE(read.table->RowCount(), 1u) << c.name;
        EXPECT_EQ(read.table->Text(0, QsoColumn::Prefix), c.prefix) << c.name;
        EXPECT_EQ(read.report.entitiesFromCalls, c.fromCalls) << c.name;
        EXPECT_EQ(read.report.withoutEntity.empty(), *c.prefix != '\0') << c.name;
    }

    // Without a country file no call is placed, and the report says why.
    LogReadOptions options = Options();
    options.countryFile = folder_.File("no-such-cty.csv");
    const Read read = ReadText("<EOH><CALL:4>W1AW<EOR><DXCC:3>291<EOR>", options);
    EXPECT_EQ(Cells(*read.table, QsoColumn::Prefix), (Values{"", "K"}));
    EXPECT_NE(read.report.countryFileProblem.find("no-such-cty.csv"), std::string::npos);
    EXPECT_EQ(read.report.withoutEntity, std::vector<std::size_t>{1});
}

// Each source of a confirmation, in each kind of file, with each subset of sources counted.
TEST_F(AdifRules, ConfirmationSources) {
    const std::string lotwReport = "<PROGRAMID:4>lotw<EOH>";
    const std::string lotwByApp = "<APP_LoTW_NUMREC:1>1<EOH>";
    const std::string eqslInbox = "<PROGRAMID:13>eQSL.cc DownloadInBox<EOH>";
    struct Case {
        const char* name;
        std::string log;
        ConfirmationSources sources;
        const char* code;
    };
    const ConfirmationSources all, none{false, false, false};
    const ConfirmationSources cardOnly{true, false, false}, lotwOnly{false, true, false},
        eqslOnly{false, false, true}, noCard{false, true, true};
    const std::vector<Case> cases = {
        {"card Y", "<EOH><QSL_RCVD:1>Y<EOR>", all, "1"},
        {"card v", "<EOH><QSL_RCVD:1>v<EOR>", all, "1"},
        {"card N, R, I", "<EOH><QSL_RCVD:1>R<EOR>", all, ""},
        {"LoTW", "<EOH><LOTW_QSL_RCVD:1>y<EOR>", all, "3"},
        {"eQSL", "<EOH><EQSL_QSL_RCVD:1>V<EOR>", all, "2"},
        {"card before LoTW before eQSL",
         "<EOH><EQSL_QSL_RCVD:1>Y<LOTW_QSL_RCVD:1>Y<QSL_RCVD:1>Y<EOR>", all, "1"},
        {"LoTW before eQSL", "<EOH><EQSL_QSL_RCVD:1>Y<LOTW_QSL_RCVD:1>Y<EOR>", all, "3"},
        {"card not counted: LoTW", "<EOH><LOTW_QSL_RCVD:1>Y<QSL_RCVD:1>Y<EOR>", noCard, "3"},
        {"card only", "<EOH><EQSL_QSL_RCVD:1>Y<LOTW_QSL_RCVD:1>Y<EOR>", cardOnly, ""},
        {"LoTW only", "<EOH><EQSL_QSL_RCVD:1>Y<QSL_RCVD:1>Y<EOR>", lotwOnly, ""},
        {"eQSL only", "<EOH><EQSL_QSL_RCVD:1>Y<QSL_RCVD:1>Y<EOR>", eqslOnly, "2"},
        {"none counted", "<EOH><QSL_RCVD:1>Y<LOTW_QSL_RCVD:1>Y<EOR>", none, ""},
        {"LoTW report: QSL_RCVD Y is LoTW's", lotwReport + "<QSL_RCVD:1>Y<EOR>", all, "3"},
        {"LoTW report by its APP_LoTW_ field", lotwByApp + "<QSL_RCVD:1>Y<EOR>", all, "3"},
        {"LoTW report: QSL_RCVD V is nothing", lotwReport + "<QSL_RCVD:1>V<EOR>", all, ""},
        {"LoTW report: never a card", lotwReport + "<QSL_RCVD:1>Y<EOR>", cardOnly, ""},
        {"eQSL inbox: QSL_SENT Y", eqslInbox + "<QSL_SENT:1>Y<QSL_SENT_VIA:1>E<EOR>", all, "2"},
        {"eQSL inbox not counted", eqslInbox + "<QSL_SENT:1>Y<EOR>", noCard, "2"},
        {"eQSL inbox without eQSL", eqslInbox + "<QSL_SENT:1>Y<EOR>", cardOnly, ""},
        {"QSL_SENT elsewhere is nothing", "<EOH><QSL_SENT:1>Y<EOR>", all, ""},
    };
    for (const Case& c : cases) {
        LogReadOptions options = Options();
        options.confirmations = c.sources;
        const Read read = ReadText(c.log, options);
        ASSERT_EQ(read.table->RowCount(), 1u) << c.name;
        EXPECT_EQ(read.table->Text(0, QsoColumn::Confirm), c.code) << c.name;
        EXPECT_EQ(read.table->Long(0, QsoColumn::Valid), 1) << c.name;
    }
}

// Bad input ends in one sentence naming the file and the place; never a crash or a hang.
TEST_F(AdifRules, BadInputIsRefusedInWords) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> inMessage;
    };
    const std::vector<Case> cases = {
        {"empty file", "", {"log.txt", "empty"}},
        {"neither kind", "just some text\nwith no tag\n", {"log.txt", "neither"}},
        {"binary garbage", std::string("\x7F\x00<CALL:4>W1AW", 14), {"neither"}},
        {"length past the end",
         "<EOH><CALL:4>W1AW<NAME:50>Bob<EOR>",
         {"<NAME:50>", "byte 17", "record 1", "past the end"}},
        {"a billion bytes",
         "<EOH><EOR><COMMENT:1000000000:S>x<EOR>",
         {"<COMMENT:1000000000:S>", "byte 10", "past the end"}},
        {"length past any number", "<EOH><CALL:99999999999999999999999>x", {"past the end"}},
        {"XML not well-formed",
         "<?xml version=\"1.0\"?><ADX><RECORDS><RECORD></ADX>",
         {"log.txt", "not well-formed XML", "line 1"}},
        {"XML with another root", "<?xml version=\"1.0\"?><GPX/>", {"<GPX>", "not <ADX>"}},
        {"ADX with broken UTF-8",
         "<ADX><RECORDS><RECORD><CALL>\xC3(</CALL></RECORD></RECORDS></ADX>",
         {"not well-formed XML"}},
    };
    for (const Case& c : cases) {
        try {
            ReadText(c.bytes);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const DbError& error) {
            const std::string message = error.what();
            for (const std::string& part : c.inMessage)
                EXPECT_NE(message.find(part), std::string::npos) << c.name << ": " << message;
        }
    }
}

// ADX: the same fields as elements, names in any case, APP and USERDEF named by attributes.
TEST_F(AdifRules, AdxFields) {
    const std::string log =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<ADX><HEADER><app programid=\"LoTW\" fieldname=\"NUMREC\">2</app></HEADER><RECORDS>"
        "<RECORD><call> w1aw </call><QSO_DATE>20240101</QSO_DATE><QSL_RCVD>Y</QSL_RCVD>"
        "<USERDEF FIELDNAME=\"STATE\">ct</USERDEF><IOTA>eu-005</IOTA></RECORD>"
        "<RECORD/><RECORD></RECORD>"
        "<Record><CALL>K1ABC</CALL><CALL>&lt;b&gt;</CALL><QSO_DATE>20240102</QSO_DATE></Record>"
        "</RECORDS></ADX>";
    const Read read = ReadText(log);
    EXPECT_EQ(Cells(*read.table, QsoColumn::Call), (Values{"w1aw", "<b>"}));
    EXPECT_EQ(Cells(*read.table, QsoColumn::State), (Values{"CT", ""}));
    EXPECT_EQ(Cells(*read.table, QsoColumn::Iota), (Values{"EU005", ""}));
    // The header's APP_LoTW_ field makes a LoTW report: QSL_RCVD Y is LoTW's.
    EXPECT_EQ(Cells(*read.table, QsoColumn::Confirm), (Values{"3", ""}));
    EXPECT_EQ(read.report.records, 2u);
}

}  // namespace
}  // namespace corvale
