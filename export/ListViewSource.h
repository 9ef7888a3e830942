// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The list view as the export engine sees it: a table in report style with columns (caption, current
// pixel width, alignment) and items (a caption for column 0 and sub-item texts for the others). The
// window's table implements this interface; the engine never sees the widget. All texts are UTF-8.
//
//     class TResultTableSource : public korvo::IListViewSource { ... };  // in the window
//     exporter.ExportSource = korvo::esListView;
//     exporter.ListView = &tableSource;                                   // not owned
//     exporter.Execute();
#include <string>

namespace korvo {

enum class TListColumnAlign { Left, Center, Right };

class IListViewSource {
public:
    virtual ~IListViewSource() = default;

    // Columns in display order.
    virtual int ColumnCount() const = 0;
    virtual std::string ColumnCaption(int column) const = 0;
    // The width the user sees now, after any resizing, in pixels.
    virtual int ColumnWidth(int column) const = 0;
    virtual TListColumnAlign ColumnAlignment(int column) const = 0;

    // Items in list order; item i is record i.
    virtual int ItemCount() const = 0;
    virtual std::string ItemCaption(int item) const = 0;
    // Number of sub-item texts of an item (the texts of columns 1, 2, ...).
    virtual int SubItemCount(int item) const = 0;
    virtual std::string SubItem(int item, int index) const = 0;

    // Makes the item the selected one (the list has single selection).
    virtual void SelectItem(int item) = 0;

    // Suspend and resume repainting while an export reads the list; calls nest.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

} // namespace korvo
