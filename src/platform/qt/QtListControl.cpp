#include "platform/qt/QtListControl.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLayout>
#include <QMouseEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTreeView>

#include <functional>

namespace sekreta::platform::qt {

namespace {

// The tree view with the list control's mouse and keys: a row is hit by its first cell, so a
// press anywhere else clears the selection; every double-click is reported, on a row or not.
// The keys move the selection from row to row, and Left and Right scroll sideways.
class ListView final : public QTreeView {
public:
    ListView(QWidget* parent, std::function<void()> onDoubleClick)
        : QTreeView(parent)
        , m_onDoubleClick(std::move(onDoubleClick))
    {
    }

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override
    {
        // Left and Right would move to a cell that cannot be selected.
        if (action == MoveLeft || action == MoveRight) {
            horizontalScrollBar()->triggerAction(
                action == MoveLeft ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
            return currentIndex();
        }
        // The other keys go from row to row in the first column, even after a click elsewhere.
        const QModelIndex next = QTreeView::moveCursor(action, modifiers);
        return next.sibling(next.row(), 0);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        QTreeView::mousePressEvent(event);
        if (indexAt(event->position().toPoint()).column() != 0)
            clearSelection();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QTreeView::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton)
            m_onDoubleClick();
    }

private:
    std::function<void()> m_onDoubleClick;
};

}  // namespace

QtListControl::QtListControl(FrameWindowEvents& events, QWidget* parent)
    : m_events(events)
    , m_view(std::make_unique<ListView>(parent, [this] { m_events.OnListDoubleClick(); }))
{
    m_view->setObjectName(QStringLiteral("list"));
    m_view->setModel(&m_model);
    m_view->setRootIsDecorated(false);
    m_view->setItemsExpandable(false);
    m_view->setUniformRowHeights(true);
    m_view->setSortingEnabled(false);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->header()->setStretchLastSection(false);
    m_view->header()->setSectionsMovable(false);
    m_view->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_view->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QObject::connect(m_view.get(), &QWidget::customContextMenuRequested, m_view.get(), [this](const QPoint& point) {
        const QPoint global = m_view->viewport()->mapToGlobal(point);
        m_events.OnListContextMenu({global.x(), global.y()});
    });
    QObject::connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, m_view.get(),
        [this] { TakeSelectionFromView(); });

    m_publishTimer.setSingleShot(true);
    m_publishTimer.setInterval(0);
    QObject::connect(&m_publishTimer, &QTimer::timeout, [this] { Publish(); });
}

QtListControl::~QtListControl() = default;

void QtListControl::Publish()
{
    m_publishTimer.stop();
    if (!m_model.HasUnpublishedRows())
        return;
    m_model.Publish();
    ShowSelection();
}

void QtListControl::SetStyle(unsigned style)
{
    m_style = style;
    m_view->header()->setSectionsClickable((style & kNoSortHeader) == 0);
    // Without the focus the view draws its selection in the inactive colours; the style bit
    // asks for it to look the same as with the focus.
    QPalette palette = QApplication::palette(m_view.get());
    if ((style & kShowSelectionAlways) != 0) {
        for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
            palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    m_view->setPalette(palette);
}

int QtListControl::ClientWidth() const
{
    // Before the window is first shown its layout has not run yet; running it now gives the
    // view the size it will be shown at.
    if (QLayout* layout = m_view->window()->layout())
        layout->activate();
    int width = m_view->contentsRect().width();
    if (m_view->verticalScrollBar()->isVisibleTo(m_view.get()))
        width -= m_view->verticalScrollBar()->width();
    return width;
}

void QtListControl::InsertColumn(int column, std::string_view heading, int width)
{
    if (column < 0)
        return;
    const int index = m_model.InsertColumn(column, heading);
    m_view->header()->resizeSection(index, width);
}

void QtListControl::DeleteColumn(int column)
{
    m_model.DeleteColumn(column);
}

int QtListControl::GetItemCount() const
{
    return m_model.RowCount();
}

int QtListControl::InsertItem(int row, std::string_view text)
{
    if (row < 0)
        return -1;
    const bool appended = row >= m_model.RowCount();
    const int index = m_model.InsertRow(row, text);
    // The selection stays with its row.
    if (m_selected >= index && !appended)
        ++m_selected;
    if (m_model.HasUnpublishedRows())
        m_publishTimer.start();
    return index;
}

void QtListControl::SetItemText(int row, int column, std::string_view text)
{
    m_model.SetText(row, column, text);
}

void QtListControl::SelectItem(int row)
{
    if (row < 0 || row >= m_model.RowCount())
        return;
    m_selected = row;
    ShowSelection();
}

int QtListControl::GetNextSelectedItem(int start) const
{
    return m_selected > start ? m_selected : -1;
}

void QtListControl::DeleteItem(int row)
{
    if (row < 0 || row >= m_model.RowCount())
        return;
    // No other row takes the selection of a deleted one.
    if (m_selected == row)
        m_selected = -1;
    else if (m_selected > row)
        --m_selected;
    m_showingSelection = true;
    m_model.DeleteRow(row);
    m_showingSelection = false;
    ShowSelection();
}

void QtListControl::DeleteAllItems()
{
    m_publishTimer.stop();
    m_selected = -1;
    m_showingSelection = true;
    m_model.DeleteAllRows();
    m_showingSelection = false;
}

void QtListControl::ShowSelection()
{
    // A row the view does not have yet is selected when it is published.
    if (m_selected >= 0 && !m_model.IsPublished(m_selected))
        return;
    m_showingSelection = true;
    QItemSelectionModel& selection = *m_view->selectionModel();
    if (m_selected < 0)
        selection.clearSelection();
    else
        selection.select(m_model.index(m_selected, 0), QItemSelectionModel::ClearAndSelect);
    m_showingSelection = false;
}

void QtListControl::TakeSelectionFromView()
{
    if (m_showingSelection)
        return;
    const QModelIndexList selected = m_view->selectionModel()->selectedIndexes();
    m_selected = selected.isEmpty() ? -1 : selected.front().row();
}

}  // namespace sekreta::platform::qt
