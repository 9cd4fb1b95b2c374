// The row of category tabs.
#include "strandex/ui/qt/tab_row.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStylePainter>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

namespace ui {

namespace {

constexpr int kWheelStep = 120;  // one notch of a common mouse wheel

// The row for assistive technology: a list of page tabs whose value is the selected tab's text
// (a child per tab would make 100,000 objects).
class TabRowAccessible : public QAccessibleWidget {
 public:
  explicit TabRowAccessible(TabRow* row) : QAccessibleWidget(row, QAccessible::PageTabList) {}
  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Value) return QAccessibleWidget::text(kind);
    const auto* row = static_cast<const TabRow*>(widget());
    return row->tabText(row->currentIndex());
  }
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
    QAccessibleValueChangeEvent event(this, tabText(tab));
    QAccessible::updateAccessibility(&event);
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
