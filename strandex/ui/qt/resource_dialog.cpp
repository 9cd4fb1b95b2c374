// Building dialogs from templates, and running them for the editor logic.
#include "strandex/ui/qt/resource_dialog.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

#include "strandex/ui/qt/cell_table_model.h"

namespace ui {

namespace {

constexpr char16_t kCarriageReturnSymbol = 0x240D;

// Windows' average character width: the width of the 52 letters, halved and rounded, over 26.
int AverageCharWidth(const QWidget* widget) {
  QFontMetrics metrics(widget->font());
  int width =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return (width / 26 + 1) / 2;
}

QWidget* MakeControl(const ControlTemplate& control, QWidget* parent) {
  const QString text = ToQString(control.Text);
  switch (control.Kind) {
    case ControlKind::Edit:
      return new QLineEdit(parent);
    case ControlKind::MultiLineEdit: {
      auto* edit = new QPlainTextEdit(parent);
      edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      edit->setTabChangesFocus(true);
      return edit;
    }
    case ControlKind::Static:
      return new QLabel(text, parent);
    case ControlKind::GroupBox:
      return new QGroupBox(text, parent);
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
      auto* button = new QPushButton(text, parent);
      button->setAutoDefault(false);
      button->setDefault(control.Kind == ControlKind::DefaultPushButton);
      return button;
    }
    case ControlKind::RadioButton:
      return new QRadioButton(text, parent);
    case ControlKind::ListView: {
      auto* list = new QTreeView(parent);
      list->setRootIsDecorated(false);
      list->setItemsExpandable(false);
      list->setUniformRowHeights(true);
      list->setAllColumnsShowFocus(true);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      list->setSelectionBehavior(QAbstractItemView::SelectRows);
      list->header()->setSectionsClickable(false);
      return list;
    }
  }
  return nullptr;
}

QString ToMultiLine(const char16_t* text) {
  QString shown = ToQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QChar(u'\r'), QChar(kCarriageReturnSymbol));
  return shown;
}

QString FromMultiLine(QString shown) {
  shown.replace(QChar(u'\n'), QStringLiteral("\r\n"));
  shown.replace(QChar(kCarriageReturnSymbol), QChar(u'\r'));
  return shown;
}

}  // namespace

int DialogUnitsToPixelsX(const QWidget* widget, int units) { return units * AverageCharWidth(widget) / 4; }

int DialogUnitsToPixelsY(const QWidget* widget, int units) {
  return units * QFontMetrics(widget->font()).height() / 8;
}

void BuildDialog(QDialog* dialog, const DialogTemplate& dialog_template) {
  dialog->setWindowTitle(ToQString(dialog_template.Caption));
  dialog->setProperty(kResourceIdProperty, dialog_template.ID);
  QGroupBox* group = nullptr;
  QList<QWidget*> widgets;
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    QWidget* widget = MakeControl(control, dialog);
    widget->setProperty(kResourceIdProperty, control.ID);
    widget->setGeometry(DialogUnitsToPixelsX(dialog, control.X), DialogUnitsToPixelsY(dialog, control.Y),
                        DialogUnitsToPixelsX(dialog, control.Width),
                        DialogUnitsToPixelsY(dialog, control.Height));
    if (control.Kind == ControlKind::GroupBox) group = static_cast<QGroupBox*>(widget);
    widgets.append(widget);
  }
  // Labels name their fields (and so give them their accessible names).
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    QWidget* field = FindControl(dialog, control.Buddy);
    auto* label = qobject_cast<QLabel*>(widgets[i]);
    if (!label || !field) continue;
    label->setBuddy(field);
    field->setAccessibleName(label->text());
  }
  // The group box frames the radio buttons from behind.
  if (group) group->lower();
  dialog->setFixedSize(DialogUnitsToPixelsX(dialog, dialog_template.Width),
                       DialogUnitsToPixelsY(dialog, dialog_template.Height));
}

QWidget* FindControl(const QWidget* dialog, int id) {
  if (id == kNoControl) return nullptr;
  for (QWidget* widget : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (widget->property(kResourceIdProperty).toInt() == id) return widget;
  }
  return nullptr;
}

void ReadFields(const QWidget* dialog, const DialogTemplate& dialog_template, DialogFieldsClass& fields) {
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    QWidget* widget = FindControl(dialog, control.ID);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      fields.SetText(control.ID, reinterpret_cast<const char16_t*>(edit->text().utf16()));
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
      fields.SetText(control.ID,
                     reinterpret_cast<const char16_t*>(FromMultiLine(text->toPlainText()).utf16()));
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      fields.SetChecked(control.ID, radio->isChecked());
    }
  }
}

void WriteFields(QWidget* dialog, const DialogTemplate& dialog_template, const DialogFieldsClass& fields) {
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    QWidget* widget = FindControl(dialog, control.ID);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      edit->setText(ToQString(fields.Text(control.ID)));
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
      text->setPlainText(ToMultiLine(fields.Text(control.ID)));
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      if (fields.Checked(control.ID)) radio->setChecked(true);
    }
  }
}

ResourceDialog::ResourceDialog(DialogLogicClass& logic, QWidget* parent)
    : QDialog(parent), logic(logic), dialog_template(*FindDialogTemplate(logic.TemplateID())) {
  BuildDialog(this, dialog_template);
  for (QAbstractButton* button : findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
    int id = button->property(kResourceIdProperty).toInt();
    connect(button, &QAbstractButton::clicked, this, [this, id] { OnButton(id); });
  }
}

int ResourceDialog::Run() {
  logic.OnInit(fields);
  WriteFields(this, dialog_template, fields);
  if (QWidget* focus = FindControl(this, fields.Focus)) focus->setFocus();
  int result = exec();
  return result < 0 ? 0 : result;
}

void ResourceDialog::OnButton(int id) {
  ReadFields(this, dialog_template, fields);
  int result = logic.OnCommand(id, fields);
  if (result != kStayOpen) {
    done(result);
    return;
  }
  WriteFields(this, dialog_template, fields);
}

}  // namespace ui
