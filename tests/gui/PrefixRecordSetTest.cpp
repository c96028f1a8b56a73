// The prefix reference record set declares the columns of a real Refdata database.
#include <QFile>
#include <QtTest>

#include "GuiTestSupport.h"
#include "logdb/CSRC2006PriPFX.h"

using namespace corvale;

class PrefixRecordSetTest : public QObject {
    Q_OBJECT
  private slots:
    void declaresTheColumnsOfRefdata();
};

void PrefixRecordSetTest::declaresTheColumnsOfRefdata() {
    QFile tsv(test::Fixture("Refdata.tsv"));
    QVERIFY(tsv.open(QIODevice::ReadOnly));
    const QList<QByteArray> header = tsv.readLine().trimmed().split('\t');
    const QList<QByteArray> firstRow = tsv.readLine().trimmed().split('\t');

    const auto& fields = CSRC2006PriPFX::Fields();
    QCOMPARE(qsizetype(fields.size()), header.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const QByteArray column = header.at(qsizetype(i));
        QCOMPARE(QByteArray(fields[i].name.data(), qsizetype(fields[i].name.size())),
                 "[" + column + "]");
        // A Boolean column holds 0 or 1 in every row; the text columns hold words and numbers.
        const bool isBool = firstRow.at(qsizetype(i)) == "0" || firstRow.at(qsizetype(i)) == "1";
        if (fields[i].type == CSRC2006PriPFX::FieldType::Bool)
            QVERIFY2(isBool, column.constData());
    }
    const CSRC2006PriPFX set("C:\\DXBase\\Refdata.mdb");
    QCOMPARE(set.GetDefaultSQL(), std::string("[PREFIX-Pri]"));
    QCOMPARE(set.GetDefaultDBName(), std::string("C:\\DXBase\\Refdata.mdb"));
}

QTEST_MAIN(PrefixRecordSetTest)
#include "PrefixRecordSetTest.moc"
