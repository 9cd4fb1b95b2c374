// The row of category tabs.
#include "strandex/ui/qt/tab_row.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QStylePainter>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <map>

namespace ui {

namespace {

constexpr int kWheelStep = 120;  // one notch of a common mouse wheel

// One tab for assistive technology: a page tab named as its category, chosen by its press
// action as by a click. It holds only the row and its index, and reads the rest when asked.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  TabAccessible(TabRow* row, int tab) : row(row), tab(tab) {}

  bool isValid() const override { return row && tab < row->count(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return row ? row->window()->windowHandle() : nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(row); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text kind) const override {
    return kind == QAccessible::Name && isValid() ? row->tabText(tab) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const QRect rect = isValid() ? row->tabRect(tab) : QRect();
    return rect.isEmpty() ? QRect() : QRect(row->mapToGlobal(rect.topLeft()), rect.size());
  }
  QAccessible::Role role() const override { return QAccessible::PageTab; }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    state.selectable = true;
    state.focusable = true;
    state.selected = tab == row->currentIndex();
    state.focused = state.selected && row->hasFocus();
    state.offscreen = row->tabRect(tab).isEmpty() || !row->isVisible();
    state.invisible = !row->isVisible();
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction() && isValid()) row->ChooseTab(tab);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  int Index() const { return tab; }

 private:
  QPointer<TabRow> row;
  int tab;
};

// The row for assistive technology: a list of page tabs whose value is the selected tab's text.
// A tab's interface is made when it is first asked for (as item views make their cells), so a
// row of 100,000 tabs costs nothing until then, and kept until the row goes.
class TabRowAccessible : public QAccessibleWidget {
 public:
  explicit TabRowAccessible(TabRow* row) : QAccessibleWidget(row, QAccessible::PageTabList) {}
  ~TabRowAccessible() override {
    for (const auto& [tab, id] : tabs) QAccessible::deleteAccessibleInterface(id);
  }

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Value) return QAccessibleWidget::text(kind);
    return Row()->tabText(Row()->currentIndex());
  }
  int childCount() const override { return Row()->count(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= Row()->count()) return nullptr;
    auto found = tabs.find(index);
    if (found != tabs.end()) return QAccessible::accessibleInterface(found->second);
    auto* tab = new TabAccessible(Row(), index);
    tabs[index] = QAccessible::registerAccessibleInterface(tab);
    return tab;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    auto* tab = dynamic_cast<const TabAccessible*>(child);
    return tab && tab->isValid() ? tab->Index() : -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const int tab = Row()->TabAt(Row()->mapFromGlobal(QPoint(x, y)));
    return tab >= 0 ? child(tab) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    return Row()->hasFocus() ? child(Row()->currentIndex()) : nullptr;
  }

 private:
  TabRow* Row() const { return static_cast<TabRow*>(widget()); }
  mutable std::map<int, QAccessible::Id> tabs;
};

QAccessibleInterface* NewTabRowAccessible(const QString&, QObject* object) {
  auto* row = dynamic_cast<TabRow*>(object);
  return row ? new TabRowAccessible(row) : nullptr;
}

}  // namespace

TabRow::TabRow(QWidget* parent) : QWidget(parent) {
  static const bool accessible_installed = (QAccessible::installFactory(NewTabRowAccessible), true);
  (void)accessible_installed;
  setFocusPolicy(Qt::TabFocus);
  setMouseTracking(true);
  back = new QToolButton(this);
  forward = new QToolButton(this);
  for (QToolButton* button : {back, forward}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->hide();
  }
  back->setArrowType(Qt::LeftArrow);
  forward->setArrowType(Qt::RightArrow);
  connect(back, &QToolButton::clicked, this, [this] { ScrollTo(first - 1); });
  connect(forward, &QToolButton::clicked, this, [this] { ScrollTo(first + 1); });
}

void TabRow::SetTabs(const QStringList& new_labels, int selected) {
  if (new_labels != labels) {
    labels = new_labels;
    widths.assign(labels.size(), 0);
  }
  current = selected >= 0 && selected < count() ? selected : -1;
  ScrollTo(first);
  if (current >= 0) ScrollIntoView(current);
  update();
}

void TabRow::setCurrentIndex(int tab) { Choose(tab, false); }

void TabRow::Choose(int tab, bool always) {
  if (tab < 0 || tab >= count()) return;
  const bool changed = tab != current;
  current = tab;
  ScrollIntoView(tab);
  update();
  if (changed && QAccessible::isActive()) {
    // The chosen tab is selected (and has the focus when the row has it), and the row's value
    // changes.
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(tab);
    QAccessible::updateAccessibility(&selection);
    if (hasFocus()) {
      QAccessibleEvent focus(this, QAccessible::Focus);
      focus.setChild(tab);
      QAccessible::updateAccessibility(&focus);
    }
    QAccessibleValueChangeEvent value(this, tabText(tab));
    QAccessible::updateAccessibility(&value);
  }
  if ((changed || always) && chosen) chosen(tab);
}

QRect TabRow::tabRect(int tab) const {
  if (tab < first || tab >= count()) return QRect();
  const int room = Room();
  int x = 0;
  for (int i = first; i < tab; ++i) {
    x += TabWidth(i);
    if (x >= room) return QRect();
  }
  return QRect(x, 0, TabWidth(tab), TabHeight());
}

QStyleOptionTab TabRow::Option(int tab, const QRect& rect) const {
  QStyleOptionTab option;
  option.initFrom(this);
  option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
  if (tab == hovered) option.state |= QStyle::State_MouseOver;
  option.rect = rect;
  option.shape = QTabBar::RoundedNorth;
  // A category name is shown as it is: an ampersand marks no mnemonic.
  option.text = tabText(tab).replace(QLatin1Char('&'), QStringLiteral("&&"));
  if (tab == current) {
    option.state |= QStyle::State_Selected;
    if (hasFocus()) option.state |= QStyle::State_HasFocus;
  }
  if (count() == 1) {
    option.position = QStyleOptionTab::OnlyOneTab;
  } else if (tab == 0) {
    option.position = QStyleOptionTab::Beginning;
  } else if (tab == count() - 1) {
    option.position = QStyleOptionTab::End;
  } else {
    option.position = QStyleOptionTab::Middle;
  }
  if (current >= 0 && tab == current - 1) {
    option.selectedPosition = QStyleOptionTab::NextIsSelected;
  } else if (current >= 0 && tab == current + 1) {
    option.selectedPosition = QStyleOptionTab::PreviousIsSelected;
  } else {
    option.selectedPosition = QStyleOptionTab::NotAdjacent;
  }
  return option;
}

int TabRow::TabWidth(int tab) const {
  if (widths[tab] == 0) {
    const QStyleOptionTab option = Option(tab, QRect());
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, option.text);
    const QSize contents(text.width() + style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this),
                         text.height() + style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this));
    widths[tab] =
        std::max(1, style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this).width());
  }
  return widths[tab];
}

int TabRow::TabHeight() const {
  QStyleOptionTab option = Option(-1, QRect());
  const QSize contents(
      0, fontMetrics().height() + style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this));
  return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this).height();
}

bool TabRow::Fits(int from, int width) const {
  int x = 0;
  for (int i = from; i < count(); ++i) {
    x += TabWidth(i);
    if (x > width) return false;
  }
  return true;
}

bool TabRow::Scrolls() const { return !Fits(0, width()); }

int TabRow::Room() const {
  if (!Scrolls()) return width();
  return std::max(0, width() - 2 * style()->pixelMetric(QStyle::PM_TabBarScrollButtonWidth, nullptr, this));
}

int TabRow::FirstEndingWith(int last) const {
  const int room = Room();
  int tab = last;
  int x = TabWidth(tab);
  while (tab > 0 && x + TabWidth(tab - 1) <= room) x += TabWidth(--tab);
  return tab;
}

int TabRow::LastFirst() const { return count() > 0 ? FirstEndingWith(count() - 1) : 0; }

void TabRow::ScrollTo(int tab) {
  first = std::clamp(tab, 0, LastFirst());
  // The mouse marks a tab again when it moves.
  hovered = -1;
  PlaceButtons();
  update();
}

void TabRow::ScrollIntoView(int tab) {
  if (tab < first) return ScrollTo(tab);
  const int room = Room();
  int x = 0;
  for (int i = first; i <= tab; ++i) {
    x += TabWidth(i);
    if (x > room) break;
  }
  if (x <= room) return;
  // The tab ends the view.
  ScrollTo(FirstEndingWith(tab));
}

void TabRow::PlaceButtons() {
  const bool scrolls = Scrolls();
  const int button = style()->pixelMetric(QStyle::PM_TabBarScrollButtonWidth, nullptr, this);
  const int height = TabHeight();
  back->setGeometry(width() - 2 * button, 0, button, height);
  forward->setGeometry(width() - button, 0, button, height);
  back->setEnabled(first > 0);
  forward->setEnabled(first < LastFirst());
  back->setVisible(scrolls);
  forward->setVisible(scrolls);
}

QSize TabRow::sizeHint() const { return minimumSizeHint(); }

QSize TabRow::minimumSizeHint() const {
  return QSize(2 * style()->pixelMetric(QStyle::PM_TabBarScrollButtonWidth, nullptr, this), TabHeight());
}

void TabRow::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  const int room = Room();
  painter.setClipRect(0, 0, room, height());
  // The selected tab goes last, over its neighbours.
  QRect selected;
  int x = 0;
  for (int tab = first; tab < count() && x < room; ++tab) {
    const QRect rect(x, 0, TabWidth(tab), TabHeight());
    if (tab == current) {
      selected = rect;
    } else {
      painter.drawControl(QStyle::CE_TabBarTab, Option(tab, rect));
    }
    x += rect.width();
  }
  if (selected.isValid()) painter.drawControl(QStyle::CE_TabBarTab, Option(current, selected));
}

int TabRow::TabAt(const QPoint& point) const {
  const int room = Room();
  if (point.x() < 0 || point.y() < 0 || point.y() >= TabHeight() || point.x() >= room) return -1;
  int x = 0;
  for (int tab = first; tab < count() && x < room; ++tab) {
    x += TabWidth(tab);
    if (point.x() < x) return tab;
  }
  return -1;
}

void TabRow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  Choose(TabAt(event->position().toPoint()), true);
}

void TabRow::mouseMoveEvent(QMouseEvent* event) {
  const int tab = TabAt(event->position().toPoint());
  if (tab != hovered) {
    hovered = tab;
    update();
  }
  QWidget::mouseMoveEvent(event);
}

void TabRow::leaveEvent(QEvent* event) {
  hovered = -1;
  update();
  QWidget::leaveEvent(event);
}

void TabRow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
      return Choose(current - 1, false);
    case Qt::Key_Right:
      return Choose(current + 1, false);
    case Qt::Key_Home:
      return Choose(0, false);
    case Qt::Key_End:
      return Choose(count() - 1, false);
    default:
      QWidget::keyPressEvent(event);
  }
}

void TabRow::wheelEvent(QWheelEvent* event) {
  const QPoint delta = event->angleDelta();
  wheel_rest += delta.y() != 0 ? delta.y() : delta.x();
  const int steps = wheel_rest / kWheelStep;
  wheel_rest -= steps * kWheelStep;
  // Turning the wheel away from the user shows the tabs to the left.
  if (steps != 0) ScrollTo(first - steps);
  event->accept();
}

void TabRow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ScrollTo(first);
}

void TabRow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    std::fill(widths.begin(), widths.end(), 0);
    updateGeometry();
    ScrollTo(first);
  }
}

}  // namespace ui
