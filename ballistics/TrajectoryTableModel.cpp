// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/TrajectoryTableModel.h"

#include "export/TableExportXLS.h"

#include <QHeaderView>
#include <QTableView>
#include <algorithm>

namespace korvo {

namespace {

// A text's length ahead of its bytes: one byte below 128, more above, seven
// bits each with the high bit telling that another byte follows.
std::size_t LengthBytes(std::size_t length) {
    std::size_t bytes = 1;
    while (length >= 0x80) {
        length >>= 7;
        ++bytes;
    }
    return bytes;
}

char* WriteLength(char* out, std::size_t length) {
    while (length >= 0x80) {
        *out++ = static_cast<char>(0x80 | (length & 0x7F));
        length >>= 7;
    }
    *out++ = static_cast<char>(length);
    return out;
}

const char* ReadLength(const char* in, std::size_t& length) {
    length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*in++);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return in;
    }
}

} // namespace

char* TPackedRows::Reserve(std::size_t bytes) {
    if (blocks_.empty() || blocks_.back().capacity - used_ < bytes) {
        // A row longer than a block gets a block of its own.
        const std::size_t capacity = std::max(bytes, kBlockBytes);
        blocks_.push_back({std::make_unique<char[]>(capacity), capacity});
        used_ = 0;
    }
    starts_.push_back({static_cast<std::uint32_t>(blocks_.size() - 1), static_cast<std::uint32_t>(used_)});
    char* at = blocks_.back().bytes.get() + used_;
    used_ += bytes;
    return at;
}

void TPackedRows::Append(const std::string_view* cells, int count) {
    std::size_t bytes = 0;
    for (int i = 0; i < count; ++i)
        bytes += LengthBytes(cells[i].size()) + cells[i].size();
    char* out = Reserve(bytes);
    for (int i = 0; i < count; ++i) {
        out = WriteLength(out, cells[i].size());
        out = std::copy(cells[i].begin(), cells[i].end(), out);
    }
}

void TPackedRows::RemoveLast() {
    if (starts_.empty())
        return;
    // Rows lie one after another: the last one's start is where writing resumes.
    const Position last = starts_.back();
    starts_.pop_back();
    blocks_.resize(last.block + 1);
    used_ = last.offset;
}

void TPackedRows::Clear() {
    blocks_.clear();
    used_ = 0;
    starts_.clear();
    starts_.shrink_to_fit();
}

std::string_view TPackedRows::Cell(int row, int column) const {
    if (row < 0 || row >= Count())
        throw std::out_of_range("no such row");
    const Position at = starts_[static_cast<std::size_t>(row)];
    const char* in = blocks_[at.block].bytes.get() + at.offset;
    std::size_t length = 0;
    for (int i = 0;; ++i) {
        in = ReadLength(in, length);
        if (i == column)
            return {in, length};
        in += length;
    }
}

QTableView* MakeTrajectoryTableView(QWidget* parent, QAbstractItemModel* model, const QRect& box,
                                    const QFont& font) {
    auto* view = new QTableView(parent);
    view->setObjectName(QStringLiteral("ListView1"));
    view->setGeometry(box);
    view->setFont(font);
    view->setModel(model);
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    // Tab leaves the table for the next control; the arrow keys move inside it.
    // (Moving cell by cell, Tab would need thousands of presses to get past a run.)
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(17);
    return view;
}

const std::array<TrajectoryTableModel::Column, TrajectoryTableModel::kColumnCount>&
TrajectoryTableModel::Columns() {
    static const std::array<Column, kColumnCount> columns{{
        {"Iteración:", 56, Qt::AlignLeft},
        {"T (seg)", 65, Qt::AlignHCenter},
        {"X (m)", 65, Qt::AlignHCenter},
        {"Y (m)", 65, Qt::AlignHCenter},
        {"Ax (m/s)", 65, Qt::AlignHCenter},
        {"Ay (m/s)", 65, Qt::AlignHCenter},
        {"Vfx (m/s)", 65, Qt::AlignHCenter},
        {"Vfy (m/s)", 65, Qt::AlignHCenter},
        {"Ec (Joules)", 80, Qt::AlignHCenter},
        {"Ec (kg·m2/s2)", 80, Qt::AlignHCenter},
    }};
    return columns;
}

void TrajectoryTableModel::AppendRow(const std::array<std::string, kColumnCount>& texts) {
    std::array<std::string_view, kColumnCount> cells;
    for (int column = 0; column < kColumnCount; ++column)
        cells[column] = texts[column];
    AppendCells(cells);
}

QString TrajectoryTableModel::ColumnCaption(int column) const {
    return QString::fromUtf8(Columns()[column].caption);
}

Qt::Alignment TrajectoryTableModel::ColumnAlignment(int column) const {
    return Columns()[column].alignment;
}

int TrajectoryColumnsSource::ColumnCount() const {
    return TrajectoryTableModel::kColumnCount;
}

std::string TrajectoryColumnsSource::ColumnCaption(int column) const {
    return TrajectoryTableModel::Columns().at(column).caption;
}

int TrajectoryColumnsSource::ColumnWidth(int column) const {
    return TrajectoryTableModel::Columns().at(column).width;
}

TListColumnAlign TrajectoryColumnsSource::ColumnAlignment(int column) const {
    return TrajectoryTableModel::Columns().at(column).alignment & Qt::AlignHCenter ? TListColumnAlign::Center
                                                                                   : TListColumnAlign::Left;
}

int TrajectoryColumnsSource::SubItemCount(int) const {
    return TrajectoryTableModel::kColumnCount - 1;
}

int TrajectoryListSource::ColumnWidth(int column) const {
    return view_->columnWidth(column);
}

int TrajectoryListSource::ItemCount() const {
    return model_->rowCount();
}

std::string TrajectoryListSource::ItemCaption(int item) const {
    return std::string(model_->CellText(item, 0));
}

std::string TrajectoryListSource::SubItem(int item, int index) const {
    return std::string(model_->CellText(item, index + 1));
}

void TrajectoryListSource::SelectItem(int item) {
    view_->selectRow(item);
}

void TrajectoryListSource::BeginUpdate() {
    if (updateDepth_++ == 0)
        view_->setUpdatesEnabled(false);
}

void TrajectoryListSource::EndUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0)
        view_->setUpdatesEnabled(true);
}

void SetUpTrajectoryExport(TTableExportXLS& exporter, IListViewSource* table, const std::string& fileName) {
    exporter.ExportSource = esListView;
    exporter.ListView = table;
    exporter.FileName = fileName;
    exporter.Options.PageFooter = "Page &P of &N";
    exporter.Options.SetSheetTitle("Trayectoria");
}

void SetTrajectoryExportLaw(TTableExportXLS& exporter, DragLaw law) {
    exporter.Header.clear();
    if (law != DragLaw::Linear)
        exporter.Header.push_back(std::string("Ley de arrastre:\t") + DragLawCaption(law));
}

} // namespace korvo
