// The log pane and the dialog-unit layout, below the level of the dialog.
#include "app/qt/log_edit.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <string>

#include "app/qt/dialog_units.h"

namespace fenmarq {

class LogEditTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTextAsAnEditControl_data() {
    QTest::addColumn<QByteArray>("appended");
    QTest::addColumn<QString>("shown");
    QTest::newRow("CR LF breaks the line") << QByteArray("a\r\nb") << QStringLiteral("a\nb");
    QTest::newRow("lone LF shows nothing")
        << QByteArray("作業終了。\n") << QStringLiteral("作業終了。");
    QTest::newRow("lone CR shows nothing") << QByteArray("a\rb") << QStringLiteral("ab");
    QTest::newRow("LF then CR LF") << QByteArray("x\n\r\n") << QStringLiteral("x\n");
    QTest::newRow("CR CR LF") << QByteArray("\r\r\n") << QStringLiteral("\n");
    QTest::newRow("UTF-8 kept") << QByteArray("ファイル ./HEXFiles/HEX_a.txt は開けました。\r\n")
                                << QStringLiteral("ファイル ./HEXFiles/HEX_a.txt は開けました。\n");
  }
  void showsTextAsAnEditControl() {
    QFETCH(QByteArray, appended);
    QFETCH(QString, shown);
    QCOMPARE(editControlText(appended.toStdString()), shown);
  }

  // Appended text goes to the end whatever the caret, keeps what the user
  // typed and cannot be undone; the user's own typing afterwards can.
  void appendGoesToTheEndAndKeepsWhatTheUserTyped() {
    LogEdit log;
    log.appendText("\r\n");
    QTest::keyClicks(&log, "memo");
    log.moveCursor(QTextCursor::Start);  // the user left the caret elsewhere
    log.appendText("作業終了。\n");
    log.appendText("\r\n");

    QCOMPARE(log.textCursor().position(), log.toPlainText().size());
    QVERIFY(!log.textCursor().hasSelection());
    QCOMPARE(log.toPlainText(), QStringLiteral("\nmemo作業終了。\n"));
    QVERIFY(!log.document()->isUndoAvailable());
    log.undo();
    QCOMPARE(log.toPlainText(), QStringLiteral("\nmemo作業終了。\n"));
    QTest::keyClicks(&log, "x");
    QVERIFY(log.document()->isUndoAvailable());
  }

  void appendScrollsToTheEnd() {
    LogEdit log;
    log.resize(200, 100);
    log.show();
    QVERIFY(QTest::qWaitForWindowExposed(&log));
    for (int i = 0; i < 100; ++i)
      log.appendText("ファイル ./HEXFiles/HEX_x.txt は開けました。\r\n");
    QVERIFY(log.verticalScrollBar()->value() > 0);
    QVERIFY(log.viewport()->rect().contains(log.cursorRect()));
  }

  void limitCutsWhatDoesNotFit() {
    LogEdit log;
    log.setLimit(5);
    log.appendText("abc");
    log.appendText("defg\r\n");
    log.appendText("h");
    QCOMPARE(log.toPlainText(), QStringLiteral("abcde"));
  }

  void dialogUnitsRoundToTheNearestPixel() {
    const DialogUnits units(7, 13);
    QCOMPARE(units.rect(15, 140, 301, 202), QRect(26, 228, 527, 328));
    QCOMPARE(units.rect(22, 7, 2, 4), QRect(39, 11, 4, 7));  // 38.5 -> 39, 11.375 -> 11
    QCOMPARE(units.size(510, 357), QSize(893, 580));
    QCOMPARE(DialogUnits(6, 12).size(510, 357), QSize(765, 536));
  }

  void dialogFontFallsBackToAJapaneseGothic() {
    const QFont font = dialogFont();
    QCOMPARE(font.pointSize(), 9);
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(QStringLiteral("ＭＳ Ｐゴシック")) ||
        installed.contains(QStringLiteral("MS PGothic"))) {
      QSKIP("MS P Gothic is installed");
    }
    if (!installed.contains(QStringLiteral("IPAPGothic"))) QSKIP("IPAPGothic is not installed");
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
  }
};

}  // namespace fenmarq

QTEST_MAIN(fenmarq::LogEditTest)
#include "log_edit_test.moc"
