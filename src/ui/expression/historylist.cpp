#include "historylist.h"

#include "ui/common/look.h"

#include <QDateTime>
#include <QPainter>
#include <QStyledItemDelegate>

namespace longhand {

namespace {

constexpr int kRowPadding = 4;

// Three lines a row: number, source and time; the length line; the value.
class EntryDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        const QFontMetrics bold(boldFont());
        const QFontMetrics plain(plainFont());
        return {option.rect.width(), bold.height() * 2 + plain.height() + 2 * kRowPadding};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const auto* model = static_cast<const HistoryModel*>(index.model());
        const HistoryEntry* e = model->entry(index.row());
        if (!e) return;
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? QColor(64, 64, 32) : QColor(kBlack));
        const QRect area = option.rect.adjusted(kRowPadding, kRowPadding, -kRowPadding, 0);
        const QFont bold = boldFont();
        const QFont plain = plainFont();
        const int boldHeight = QFontMetrics(bold).height();
        const int plainHeight = QFontMetrics(plain).height();

        // The first line: "#k  source", the time at the right.
        QRect line(area.left(), area.top(), area.width(), boldHeight);
        painter->setFont(plain);
        painter->setPen(QColor(kQuietGrey));
        const QString time =
            QDateTime::fromMSecsSinceEpoch(e->time).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        painter->drawText(line, Qt::AlignRight | Qt::AlignVCenter, time);
        const int timeWidth = QFontMetrics(plain).horizontalAdvance(time) + 2 * kRowPadding;
        painter->setFont(bold);
        painter->setPen(QColor(kLightYellow));
        const QString head =
            QStringLiteral("#%1  ").arg(e->number) + QString::fromStdString(e->source);
        painter->drawText(
            line.adjusted(0, 0, -timeWidth, 0), Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetrics(bold).elidedText(head, Qt::ElideRight, line.width() - timeWidth));
        // The length line.
        line.translate(0, boldHeight);
        line.setHeight(plainHeight);
        painter->setFont(plain);
        painter->setPen(QColor(kQuietGrey));
        painter->drawText(line, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(e->note));
        // The value's start.
        line.translate(0, plainHeight);
        line.setHeight(boldHeight);
        painter->setFont(bold);
        painter->setPen(QColor(kYellow));
        const bool whole = e->text.size() == e->length && e->text.size() <= kRowValueChars;
        QString value = QString::fromLatin1(
            e->text.data(),
            static_cast<qsizetype>(std::min<std::size_t>(e->text.size(), kRowValueChars)));
        if (!whole) value += QChar(0x2026);
        painter->drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetrics(bold).elidedText(value, Qt::ElideRight, line.width()));
        painter->restore();
    }
};

} // namespace

void HistoryModel::setSnapshot(std::shared_ptr<const HistorySnapshot> snapshot) {
    beginResetModel();
    snapshot_ = std::move(snapshot);
    endResetModel();
}

const HistoryEntry* HistoryModel::entry(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= snapshot_->entries.size()) return nullptr;
    return &snapshot_->entries[static_cast<std::size_t>(row)];
}

int HistoryModel::rowOf(std::int64_t number) const {
    const auto& entries = snapshot_->entries;
    for (std::size_t i = entries.size(); i-- > 0;)
        if (entries[i].number == number) return static_cast<int>(i);
    return -1;
}

int HistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(snapshot_->entries.size());
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
    const HistoryEntry* e = entry(index.row());
    if (!e) return {};
    // What a screen reader says of the row.
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return QStringLiteral("#%1 %2, %3")
            .arg(e->number)
            .arg(QString::fromStdString(e->source), QString::fromStdString(e->note));
    return {};
}

HistoryList::HistoryList(QWidget* parent) : QListView(parent), model_(new HistoryModel(this)) {
    setModel(model_);
    setItemDelegate(new EntryDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setContextMenuPolicy(Qt::CustomContextMenu);
    paintBackground(viewport(), kBlack);
}

const HistoryEntry* HistoryList::currentEntry() const {
    return model_->entry(currentIndex().row());
}

} // namespace longhand
