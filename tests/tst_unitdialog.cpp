#include <memory>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

#include "config/settings.h"
#include "editing/unitdialog.h"
#include "model/units.h"
#include "tests/testenvironment.h"
#include "tests/translatorsetup.h"
#include "tools/translationserver.h"
#include "translation/translator.h"

namespace {

QLineEdit* wordEdit(UnitDialog* dialog)
{
    return dialog->findChildren<QLineEdit*>().value(0);
}

QLineEdit* translationEdit(UnitDialog* dialog)
{
    return dialog->findChildren<QLineEdit*>().value(1);
}

QPushButton* translateButton(UnitDialog* dialog)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Перевести"))
            return button;
    }
    return nullptr;
}

QPushButton* saveButton(UnitDialog* dialog)
{
    return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save);
}

QPushButton* cancelButton(UnitDialog* dialog)
{
    return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
}

// Runs \a steps on the dialog once it is shown and active; \a open starts it.
int runDialog(UnitDialog* dialog, const std::function<int()>& open,
              const std::function<void()>& steps)
{
    QTimer::singleShot(0, dialog, [dialog, steps] {
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        steps();
        // Whatever the steps left open is closed, so a failing test cannot hang.
        if (dialog->isVisible())
            dialog->reject();
    });
    return open();
}

// Answers the next question box with \a button; \a asked records that it came.
void answerQuestion(QMessageBox::StandardButton button, bool* asked)
{
    QTimer::singleShot(0, [button, asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        *asked = true;
        QCOMPARE(box->windowTitle(), QStringLiteral("Вопрос"));
        box->button(button)->click();
    });
}

} // namespace

class TestUnitDialog : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void savingFollowsTheRules_data();
    void savingFollowsTheRules();
    void emptyWordKeepsTheDialogOpen();
    void returnMovesOnThenSavesAndEscapeDoesNothing();
    void openingSetsTitleFieldsAndFocus_data();
    void openingSetsTitleFieldsAndFocus();
    void fieldsTakeAtMost150Characters();
    void translateFillsTheTranslation_data();
    void translateFillsTheTranslation();
    void answerForAnEarlierOpeningIsIgnored();
    void keyboardLayoutsStayAsStored();

private:
    // One server with its word list for the whole run; init() resets how it answers.
    TranslationServer server;
    Units* dictionary = nullptr;
};

void TestUnitDialog::initTestCase()
{
    QVERIFY(server.loadWordList(QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries/default.tsv")));
    QVERIFY(server.listen());
}

void TestUnitDialog::init()
{
    QVERIFY(emptyHomeFolder());
    workspace = storedWorkspace();
    useOnlyV2Service(workspace.get(), server.url(), 3000);
    dictionary = &workspace->words.units;
    dictionary->setUnits({Unit{QStringLiteral("book"), QStringLiteral("книга")},
                          Unit{QStringLiteral("house"), QStringLiteral("дом")}});
    server.reset();
}

void TestUnitDialog::cleanup()
{
    dictionary = nullptr;
    workspace.reset();
}

void TestUnitDialog::savingFollowsTheRules_data()
{
    QTest::addColumn<int>("editedKey"); // -1: adding
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<int>("answer");    // button for the duplicate question, 0: none expected
    QTest::addColumn<QList<Unit>>("stored");

    const Unit book{QStringLiteral("book"), QStringLiteral("книга")};
    const Unit house{QStringLiteral("house"), QStringLiteral("дом")};
    QTest::newRow("new word stored trimmed")
        << -1 << " cat " << " кот " << 0
        << QList<Unit>{book, house, Unit{QStringLiteral("cat"), QStringLiteral("кот")}};
    QTest::newRow("duplicate in other capitals refused")
        << -1 << "Book" << "том" << int(QMessageBox::No) << QList<Unit>{book, house};
    QTest::newRow("duplicate accepted")
        << -1 << "book " << "том" << int(QMessageBox::Yes)
        << QList<Unit>{book, house, Unit{QStringLiteral("book"), QStringLiteral("том")}};
    QTest::newRow("spaces only are a word")
        << -1 << "   " << "" << 0 << QList<Unit>{book, house, Unit{QString(""), QString("")}};
    QTest::newRow("editing into another entry asks nothing")
        << 0 << " house" << "дом " << 0
        << QList<Unit>{Unit{QStringLiteral("house"), QStringLiteral("дом")}, house};
}

void TestUnitDialog::savingFollowsTheRules()
{
    QFETCH(int, editedKey);
    QFETCH(QString, word);
    QFETCH(QString, translation);
    QFETCH(int, answer);
    QFETCH(QList<Unit>, stored);

    UnitDialog dialog(workspace.get());
    bool asked = false;
    const int result = runDialog(
        &dialog, [&] { return editedKey < 0 ? dialog.exec() : dialog.exec(editedKey); },
        [&] {
            wordEdit(&dialog)->setText(word);
            translationEdit(&dialog)->setText(translation);
            if (answer != 0)
                answerQuestion(QMessageBox::StandardButton(answer), &asked);
            saveButton(&dialog)->click();
        });

    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(asked, answer != 0);
    const QList<Unit> units = dictionary->unitList();
    QCOMPARE(units.size(), stored.size());
    for (int i = 0; i < units.size(); ++i) {
        QCOMPARE(units.at(i).word, stored.at(i).word);
        QCOMPARE(units.at(i).translation, stored.at(i).translation);
    }
    // The owner gets the texts as typed, also when the entry was refused.
    QCOMPARE(dialog.lastUnit().word, word);
    QCOMPARE(dialog.lastUnit().translation, translation);
    QVERIFY(wordEdit(&dialog)->text().isEmpty());
    QVERIFY(translationEdit(&dialog)->text().isEmpty());
}

void TestUnitDialog::emptyWordKeepsTheDialogOpen()
{
    UnitDialog dialog(workspace.get());
    const int result = runDialog(&dialog, [&] { return dialog.exec(); }, [&] {
        translationEdit(&dialog)->setFocus();
        translationEdit(&dialog)->setText(QStringLiteral("кот"));
        saveButton(&dialog)->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(QApplication::focusWidget(), wordEdit(&dialog));
        cancelButton(&dialog)->click();
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(dictionary->count(), 2);
}

void TestUnitDialog::returnMovesOnThenSavesAndEscapeDoesNothing()
{
    UnitDialog dialog(workspace.get());
    const int result = runDialog(&dialog, [&] { return dialog.exec(); }, [&] {
        QTest::keyClicks(wordEdit(&dialog), QStringLiteral("cat"));
        QTest::keyClick(wordEdit(&dialog), Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QTest::keyClick(wordEdit(&dialog), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), translationEdit(&dialog));
        QVERIFY(dialog.isVisible());
        QTest::keyClicks(translationEdit(&dialog), QStringLiteral("kot"));
        QTest::keyClick(translationEdit(&dialog), Qt::Key_Enter);
        QVERIFY(!dialog.isVisible());
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dictionary->translation(dictionary->find(QStringLiteral("cat"))), QStringLiteral("kot"));
}

void TestUnitDialog::openingSetsTitleFieldsAndFocus_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<int>("focused"); // 0 word field, 1 translation field, -1 either

    QTest::newRow("empty") << 0 << "Добавление" << "" << "" << 0;
    QTest::newRow("word given") << 1 << "Добавление" << "cat" << "" << 1;
    QTest::newRow("both given") << 2 << "Добавление" << "cat" << "кот" << -1;
    QTest::newRow("editing") << 3 << "Редактирование" << "house" << "дом" << -1;
}

void TestUnitDialog::openingSetsTitleFieldsAndFocus()
{
    QFETCH(int, variant);
    QFETCH(QString, title);
    QFETCH(QString, word);
    QFETCH(QString, translation);
    QFETCH(int, focused);

    UnitDialog dialog(workspace.get());
    runDialog(&dialog,
              [&] {
                  switch (variant) {
                  case 0: return dialog.exec();
                  case 1: return dialog.exec(word);
                  case 2: return dialog.exec(word, translation);
                  default: return dialog.exec(1);
                  }
              },
              [&] {
                  QCOMPARE(dialog.windowTitle(), title);
                  QCOMPARE(wordEdit(&dialog)->text(), word);
                  QCOMPARE(translationEdit(&dialog)->text(), translation);
                  QVERIFY(translateButton(&dialog)->isEnabled());
                  if (focused == 0)
                      QCOMPARE(QApplication::focusWidget(), wordEdit(&dialog));
                  else if (focused == 1)
                      QCOMPARE(QApplication::focusWidget(), translationEdit(&dialog));
              });
}

void TestUnitDialog::fieldsTakeAtMost150Characters()
{
    UnitDialog dialog(workspace.get());
    runDialog(&dialog, [&] { return dialog.exec(); }, [&] {
        QTest::keyClicks(wordEdit(&dialog), QString(200, QLatin1Char('a')));
        QTest::keyClicks(translationEdit(&dialog), QString(200, QLatin1Char('b')));
        QCOMPARE(wordEdit(&dialog)->text().size(), 150);
        QCOMPARE(translationEdit(&dialog)->text().size(), 150);
    });
}

void TestUnitDialog::translateFillsTheTranslation_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<bool>("dictionaries");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("article"); // the article files shown, in order
    QTest::addColumn<QString>("language");

    QTest::newRow("known word") << "time" << "" << "время" << false << "" << "" << "en";
    QTest::newRow("replaces typed text") << "time" << "пора" << "время" << false << "" << "" << "en";
    QTest::newRow("no answer keeps typed text and says why")
        << "zzyzx" << "что-то" << "что-то" << true
        << "Перевод не найден: нет в словарях; сервис V2: сервис не знает перевода" << "" << "en";
    QTest::newRow("dictionary article can be opened") << "cat" << "" << "кот, кошка" << true << ""
                                                      << "mueller-cat.txt" << "en";
    QTest::newRow("translation through english is marked")
        << "gato" << "" << "кот, кошка" << true << "Перевод через английский: cat"
        << "spa-gato.txt,mueller-cat.txt" << "es";
}

void TestUnitDialog::translateFillsTheTranslation()
{
    QFETCH(QString, word);
    QFETCH(QString, typed);
    QFETCH(QString, translation);
    QFETCH(bool, dictionaries);
    QFETCH(QString, status);
    QFETCH(QString, article);
    QFETCH(QString, language);
    workspace->settings.learningLanguage = language;
    TranslatorSettings settings = workspace->translatorSettings;
    if (dictionaries) {
        settings.engines.prepend(TranslatorSettings::dictionariesEngine());
        settings.standardFolders = {QFINDTESTDATA("data/dictd/sample-eng-rus.index").section(QLatin1Char('/'), 0, -2)};
    }
    workspace->translatorSettings = settings;
    QStringList articleTexts;
    for (const QString& name : article.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QFile file(QFINDTESTDATA("data/dictd/articles/" + name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        articleTexts.append(QString::fromUtf8(file.readAll()).trimmed());
    }
    const QString articleText = articleTexts.join(QStringLiteral("\n\n"));

    UnitDialog dialog(workspace.get());
    runDialog(&dialog, [&] { return dialog.exec(word, typed); }, [&] {
        // One request at a time: the button (which the shortcut clicks a
        // moment later) waits for the answer. Seen just after the dialog's
        // own handling of the click; the translator never answers inside it.
        bool clicked = false;
        bool waitsForTheAnswer = false;
        connect(translateButton(&dialog), &QPushButton::clicked, &dialog, [&] {
            clicked = true;
            waitsForTheAnswer = !translateButton(&dialog)->isEnabled();
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::ControlModifier);
        QTRY_VERIFY(clicked);
        QVERIFY(waitsForTheAnswer);
        QTRY_VERIFY(translateButton(&dialog)->isEnabled());
        QTRY_COMPARE(translationEdit(&dialog)->text(), translation);
        QString shown;
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->isVisible() && label->text().startsWith(QStringLiteral("Перевод "))
                && label->buddy() == nullptr)
                shown = label->text();
        }
        QCOMPARE(shown, status);
        QPushButton* articleButton = nullptr;
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("Статья"))
                articleButton = button;
        }
        QVERIFY(articleButton);
        QCOMPARE(articleButton->isEnabled(), !articleText.isEmpty());
        if (!articleText.isEmpty()) {
            articleButton->click();
            QVERIFY(dialog.findChild<QPlainTextEdit*>()->isVisible());
            // The take button joins the row: no button may be cut short.
            const auto buttonsWhole = [&dialog] {
                for (QPushButton* button : dialog.findChildren<QPushButton*>())
                    if (button->isVisible() && button->width() < button->minimumSizeHint().width())
                        return false;
                return true;
            };
            QTRY_VERIFY(buttonsWhole());
            QCOMPARE(dialog.findChild<QPlainTextEdit*>()->toPlainText(), articleText);
        }
    });
}

void TestUnitDialog::answerForAnEarlierOpeningIsIgnored()
{
    server.hold(QStringLiteral("time"));
    UnitDialog dialog(workspace.get());
    QSignalSpy answers(dialog.findChild<Translator*>(), &Translator::translated);
    runDialog(&dialog, [&] { return dialog.exec(QStringLiteral("time")); },
              [&] { translateButton(&dialog)->click(); });
    runDialog(&dialog, [&] { return dialog.exec(QStringLiteral("year")); }, [&] {
        // The answer about "time" arrives while "year" is open.
        server.release(QStringLiteral("time"));
        QVERIFY(answers.wait(5000));
        QCOMPARE(answers.first().at(1).toString(), QStringLiteral("время"));
        QCOMPARE(translationEdit(&dialog)->text(), QString());
        QVERIFY(translateButton(&dialog)->isEnabled());
    });
}

void TestUnitDialog::keyboardLayoutsStayAsStored()
{
#ifdef Q_OS_WIN
    QSKIP("Windows switches real keyboard layouts");
#endif
    workspace->settings.udPrimaryLanguage = 0x04090409;
    workspace->settings.udSecondaryLanguage = 0x04190419;
    UnitDialog dialog(workspace.get());
    runDialog(&dialog, [&] { return dialog.exec(); }, [&] {
        QTest::keyClick(wordEdit(&dialog), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), translationEdit(&dialog));
        translateButton(&dialog)->setFocus();
        wordEdit(&dialog)->setFocus();
    });
    QCOMPARE(workspace->settings.udPrimaryLanguage, 0x04090409);
    QCOMPARE(workspace->settings.udSecondaryLanguage, 0x04190419);
}

VOCABRIUM_TEST_MAIN(TestUnitDialog)
#include "tst_unitdialog.moc"
