// The Qt front end under the offscreen platform: menu IDs and states, dialogs built from their
// templates, double-click, tab change, the Find results window and a failed Open.
#include "strandex/ui/qt/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "common/testing/database_fixture.h"
#include "common/testing/temp_folder.h"
#include "strandex/ui/qt/find_results_window.h"
#include "strandex/ui/qt/resource_dialog.h"

namespace ui {
namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "strandex_qt_test";
    static char* argv[] = {name, nullptr};
    app = new QApplication(argc, argv);
  }
  void TearDown() override { delete app; }
  QApplication* app = nullptr;
};
::testing::Environment* const qt_environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Runs answer on the next modal window (a dialog or a message box) once it is shown.
void AnswerModal(std::function<void(QWidget*)> answer, int tries = 200) {
  QTimer::singleShot(10, [answer, tries] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      answer(modal);
    } else if (tries > 0) {
      AnswerModal(answer, tries - 1);
    }
  });
}

void ClickControl(QWidget* dialog, int id) {
  auto* button = qobject_cast<QAbstractButton*>(FindControl(dialog, id));
  ASSERT_NE(button, nullptr) << id;
  button->click();
}

void SetControlText(QWidget* dialog, int id, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(FindControl(dialog, id));
  ASSERT_NE(edit, nullptr) << id;
  edit->setText(text);
}

// A double-click as a person makes it: a click, then the second press.
void DoubleClick(QTreeView* view, int row) {
  QPoint point = view->visualRect(view->model()->index(row, 0)).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
  QTest::mousePress(view->viewport(), Qt::LeftButton, {}, point);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, point);
  QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, point);
}

class MainWindowTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    TranslateDBClass::Initialize();
    window = new MainWindow;
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  }
  void TearDown() override {
    delete window;
    DatabaseTest::TearDown();
  }
  QString ListCell(int row, int column) {
    return window->List()->model()->index(row, column).data().toString();
  }

  MainWindow* window = nullptr;
};

TEST_F(MainWindowTest, MenuItemsCarryTheirCommandIDsAndStartingStates) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Advanced string editor"));
  EXPECT_EQ(window->size(), QSize(800, 600));
  QStringList popups;
  for (QAction* action : window->menuBar()->actions()) popups << action->text();
  EXPECT_EQ(popups, (QStringList{"File", "Search", "Edit"}));
  for (int i = 0; i < kMenuItemCount; ++i) {
    if (!kMenuItems[i].Text) continue;
    QAction* action = window->Action(kMenuItems[i].Command);
    ASSERT_NE(action, nullptr) << kMenuItems[i].Command;
    EXPECT_EQ(action->isEnabled(), !kMenuItems[i].StartsGrayed) << kMenuItems[i].Command;
  }
  EXPECT_EQ(window->Tabs()->count(), 1);
  EXPECT_EQ(window->Tabs()->tabText(0), QStringLiteral("Default"));
  QStringList headers;
  for (int i = 0; i < 4; ++i) headers << window->List()->model()->headerData(i, Qt::Horizontal).toString();
  EXPECT_EQ(headers, (QStringList{"ID (string)", "ID (numeric)", "Sound ID", "English text"}));

  // A window smaller than its tab strip and status bar still lays out, with an empty list.
  window->resize(120, 20);
  QApplication::processEvents();
  EXPECT_GE(window->List()->height(), 0);
}

TEST_F(MainWindowTest, DialogsAreBuiltFromTheirTemplates) {
  for (int id = kGotoDialog; id <= kCategoryNameDialog; ++id) {
    const DialogTemplate* layout = FindDialogTemplate(id);
    ASSERT_NE(layout, nullptr);
    QDialog dialog;
    BuildDialog(&dialog, *layout);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf16(layout->Caption));
    EXPECT_EQ(dialog.width(), DialogUnitsToPixelsX(&dialog, layout->Width));
    for (int i = 0; i < layout->ControlCount; ++i) {
      const ControlTemplate& control = layout->Controls[i];
      if (control.ID == kNoControl) continue;
      QWidget* widget = FindControl(&dialog, control.ID);
      ASSERT_NE(widget, nullptr) << id << " " << control.ID;
      EXPECT_EQ(widget->geometry().topLeft(),
                QPoint(DialogUnitsToPixelsX(&dialog, control.X), DialogUnitsToPixelsY(&dialog, control.Y)));
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        EXPECT_EQ(button->text(), QString::fromUtf16(control.Text));
      }
    }
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      ASSERT_NE(label->buddy(), nullptr) << label->text().toStdString();
      EXPECT_EQ(label->buddy()->accessibleName(), label->text());
    }
  }

  // The text field shows CR LF as a line break and a lone carriage return as a symbol.
  QDialog dialog;
  const DialogTemplate& edit = *FindDialogTemplate(kEditStringDialog);
  BuildDialog(&dialog, edit);
  DialogFieldsClass fields;
  fields.SetText(kEditText, u"a\r\\nb\r\nc");
  WriteFields(&dialog, edit, fields);
  EXPECT_EQ(static_cast<QPlainTextEdit*>(FindControl(&dialog, kEditText))->toPlainText(),
            QString::fromUtf16(u"a\u240d\\nb\nc"));
  DialogFieldsClass read;
  ReadFields(&dialog, edit, read);
  EXPECT_EQ(std::u16string(read.Text(kEditText)), u"a\r\\nb\r\nc");
}

TEST_F(MainWindowTest, DoubleClickEditsTheStringAndATabChangeRefillsTheList) {
  TempFolder folder;
  TranslateDBClass::AddObject(NewString(1000, "IDS_A", u"a"));
  TranslateDBClass::AddObject(NewString(1001, "IDS_B", u"b", 2));
  TranslateDBClass::AddCategoryNamed("Menus");
  const std::string path = folder / "two.tdb";
  ASSERT_TRUE(SaveDatabaseFile(path.c_str(), nullptr));
  window->Editor().OpenPath(path.c_str());
  EXPECT_TRUE(window->Action(kCmdSave)->isEnabled());

  window->Tabs()->setCurrentIndex(1);
  ASSERT_EQ(window->List()->model()->rowCount(), 1);
  EXPECT_EQ(ListCell(0, 0), QStringLiteral("IDS_B"));
  window->Tabs()->setCurrentIndex(0);
  ASSERT_EQ(window->List()->model()->rowCount(), 1);

  QApplication::processEvents();
  QString title;
  AnswerModal([&title](QWidget* dialog) {
    title = dialog->windowTitle();
    SetControlText(dialog, kEditIDString, QStringLiteral("IDS_EDITED"));
    ClickControl(dialog, kIDOk);
  });
  DoubleClick(window->List(), 0);
  EXPECT_EQ(title, QStringLiteral("Edit String"));
  EXPECT_EQ(ListCell(0, 0), QStringLiteral("IDS_EDITED"));
}

TEST_F(MainWindowTest, FindResultsWindowListsHitsAndShowsTheChosenString) {
  for (int i = 0; i < 200; ++i)
    TranslateDBClass::AddObject(NewString(1000 + i, i % 2 ? "ODD" : "EVEN", u"t"));
  AnswerModal([](QWidget* dialog) {
    SetControlText(dialog, kFindText, QStringLiteral("odd"));
    ClickControl(dialog, kButtonOk);
  });
  window->Action(kCmdFindID)->trigger();
  FindResultsWindow* results = window->FindResults();
  ASSERT_NE(results, nullptr);
  EXPECT_TRUE(results->isVisible());
  EXPECT_FALSE(results->isModal());
  QAbstractItemModel* model = results->List()->model();
  ASSERT_EQ(model->rowCount(), 100);
  EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("English text"));
  EXPECT_EQ(model->index(1, 1).data().toString(), QStringLiteral("1003"));

  // A double-click on a result selects its row in the main list, scrolled into view.
  DoubleClick(results->List(), 1);
  QModelIndex current = window->List()->currentIndex();
  ASSERT_TRUE(current.isValid());
  EXPECT_EQ(ListCell(current.row(), 1), QStringLiteral("1003"));
  EXPECT_TRUE(window->List()->selectionModel()->isRowSelected(current.row(), QModelIndex()));
  EXPECT_TRUE(window->List()->viewport()->rect().intersects(window->List()->visualRect(current)));

  ClickControl(results, kResultsClose);
  QApplication::processEvents();
  EXPECT_EQ(window->FindResults(), nullptr);
  EXPECT_FALSE(window->Editor().Results().IsOpen());
}

TEST_F(MainWindowTest, FailedOpenSaysSoInAMessageBox) {
  window->SetFileChooser([](const FileDialogRequest&, NarrowStringClass& path) {
    path = "/nonexistent/folder/lost.tdb";
    return true;
  });
  QString text;
  AnswerModal([&text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    box->accept();
  });
  window->Action(kCmdOpen)->trigger();
  EXPECT_TRUE(text.contains(QStringLiteral("/nonexistent/folder/lost.tdb: ")));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Advanced string editor - lost.tdb"));
}

}  // namespace
}  // namespace ui
