#include <memory>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <functional>

#include "config/settings.h"
#include "editing/finderdialog.h"
#include "editing/unitdialog.h"
#include "model/statuses.h"
#include "model/units.h"
#include "tests/dialoghelpers.h"
#include "tests/testenvironment.h"

namespace {


QPushButton* button(QWidget* parent, const QString& text)
{
    for (QPushButton* button : parent->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        if (button->text() == text)
            return button;
    return nullptr;
}

} // namespace

class TestFinder : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each, before the finder that points into them.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();
    void returnOnAFoundWordOnlyCloses();
    void showsWhatTheDictionaryKnows_data();
    void showsWhatTheDictionaryKnows();
    void addingShowsTheNewEntry_data();
    void addingShowsTheNewEntry();
    void learnPutsTheWordIntoLearning_data();
    void learnPutsTheWordIntoLearning();

private:
    // The four read-only fields: word, translation, transcription, status.
    QStringList fields() const;
    QStringList visibleButtons() const;

    Units* dictionary = nullptr;
    Statuses* statuses = nullptr;
    std::unique_ptr<FinderDialog> finderDialog;
    FinderDialog* finder = nullptr;
};

void TestFinder::init()
{
    QVERIFY(emptyHomeFolder());
    workspace = storedWorkspace();
    QDir().mkpath(QStringLiteral("Transcriptions"));
    QVERIFY(QFile::copy(QStringLiteral(VOCABRIUM_BUILD_DIR "/Transcriptions/English.trn"),
                        QStringLiteral("Transcriptions/English.trn")));
    workspace->settings.transcriptionFileName = QStringLiteral("English");
    workspace->transcriptions.load();
    dictionary = (&workspace->words.units);
    statuses = (&workspace->words.statuses);
    finderDialog = std::make_unique<FinderDialog>(workspace.get());
    finder = finderDialog.get();
    dictionary->setUnits({Unit{"book", "книга"}, Unit{"house", "дом"}, Unit{"Zebu", "зебу"},
                          Unit{"cat", "кошка"}});
    statuses->setList({0, 100, 7, 20});
}

void TestFinder::cleanup()
{
    finder = nullptr;
    finderDialog.reset();
    workspace.reset();
}

QStringList TestFinder::fields() const
{
    QStringList texts;
    for (QLineEdit* field : finder->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        texts.append(field->text());
    return texts;
}

QStringList TestFinder::visibleButtons() const
{
    QStringList texts;
    for (const char* text : {"Добавить", "Изучать", "Изучать заново"}) {
        QPushButton* b = button(finder, QString::fromUtf8(text));
        if (b->isVisible())
            texts.append(b->text());
    }
    return texts;
}

void TestFinder::showsWhatTheDictionaryKnows_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("buttons");

    QTest::newRow("unlearned, other letter case")
        << "BOOK" << QStringList{"book", "книга", "[bˈʊk]", "Не изучено"} << QStringList{"Изучать"};
    QTest::newRow("learned") << " house " << QStringList{"house", "дом", "[hˈaʊs]", "Изучено"}
                             << QStringList{"Изучать заново"};
    QTest::newRow("being learned, no transcription")
        << "zebu" << QStringList{"Zebu", "зебу", "-", "Изучается"} << QStringList{};
    QTest::newRow("learned below 100") << "cat" << QStringList{"cat", "кошка", "[kˈæt]", "Изучено"}
                                       << QStringList{"Изучать заново"};
    QTest::newRow("absent, known transcription")
        << "dog" << QStringList{"dog", "-", "[dˈɑːɡ]", "Не в словаре"} << QStringList{"Добавить"};
    QTest::newRow("by its translation") << "КОШ" << QStringList{"cat", "кошка", "[kˈæt]", "Изучено"}
                                        << QStringList{"Изучать заново"};
    QTest::newRow("absent, as typed") << "<b>Xyz</b>" << QStringList{"<b>Xyz</b>", "-", "-", "Не в словаре"}
                                      << QStringList{"Добавить"};
}

void TestFinder::showsWhatTheDictionaryKnows()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, buttons);
    whenModal<FinderDialog>([&](FinderDialog*) {
        QCOMPARE(fields(), shown);
        QCOMPARE(visibleButtons(), buttons);
        QCOMPARE(finder->windowTitle(), QStringLiteral("Информация"));
        button(finder, QStringLiteral("OK"))->click();
    });
    QCOMPARE(finder->exec(typed), int(QDialog::Accepted));
}

void TestFinder::addingShowsTheNewEntry_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("saved") << true;
    QTest::newRow("cancelled") << false;
}

void TestFinder::addingShowsTheNewEntry()
{
    QFETCH(bool, save);
    QString offered;
    whenModal<FinderDialog>([&](FinderDialog*) {
        whenModal<UnitDialog>([&](UnitDialog* dialog) {
            const auto edits = dialog->findChildren<QLineEdit*>();
            offered = edits.at(0)->text();
            edits.at(1)->setText(QStringLiteral("собака"));
            dialog->findChild<QDialogButtonBox*>()
                ->button(save ? QDialogButtonBox::Save : QDialogButtonBox::Cancel)
                ->click();
        });
        button(finder, QStringLiteral("Добавить"))->click();
        if (save) {
            QCOMPARE(fields(), (QStringList{"dog", "собака", "[dˈɑːɡ]", "Не изучено"}));
            QCOMPARE(visibleButtons(), QStringList{"Изучать"});
        } else {
            QCOMPARE(fields(), (QStringList{"dog", "-", "[dˈɑːɡ]", "Не в словаре"}));
            QCOMPARE(visibleButtons(), QStringList{"Добавить"});
        }
        button(finder, QStringLiteral("OK"))->click();
    });
    finder->exec(QStringLiteral("dog"));
    QCOMPARE(offered, QStringLiteral("dog"));
    QCOMPARE(dictionary->find(QStringLiteral("dog")) >= 0, save);
}

void TestFinder::learnPutsTheWordIntoLearning_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("buttonText");
    QTest::addColumn<int>("key");
    QTest::newRow("learn") << "book" << "Изучать" << 0;
    QTest::newRow("learn again") << "house" << "Изучать заново" << 1;
}

void TestFinder::learnPutsTheWordIntoLearning()
{
    QFETCH(QString, typed);
    QFETCH(QString, buttonText);
    QFETCH(int, key);
    QSignalSpy initial(statuses, &Statuses::initial);
    whenModal<FinderDialog>([&](FinderDialog*) { button(finder, buttonText)->click(); });
    QCOMPARE(finder->exec(typed), 1);
    QCOMPARE(statuses->status(key), 5);
    QCOMPARE(initial.count(), 1);
    QCOMPARE(initial.first().first().toInt(), key);
}

void TestFinder::returnOnAFoundWordOnlyCloses()
{
    // An earlier opening left the focus on "Изучать заново".
    whenModal<FinderDialog>([&](FinderDialog*) {
        button(finder, QStringLiteral("Изучать заново"))->setFocus();
        finder->reject();
    });
    finder->exec(QStringLiteral("house"));
    whenModal<FinderDialog>([&](FinderDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
    QCOMPARE(finder->exec(QStringLiteral("house")), 1);
    QCOMPARE(statuses->status(1), 100);
}

VOCABRIUM_TEST_MAIN(TestFinder)
#include "tst_finder.moc"
