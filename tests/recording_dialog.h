#pragma once
// A stand-in for the window in tests of the procedures on one controller: the "list" is the
// link's table, and everything the procedure asks of the window is recorded.

#include <optional>
#include <string>
#include <vector>

#include "link/controller_link.h"
#include "link/search.h"
#include "workflow/controller_dialog.h"

namespace lumaro::testing {

class RecordingDialog : public ControllerDialog {
public:
    explicit RecordingDialog(ControllerLink& link) : link_(link) {}

    // Searches as the window does (row 0 selected after a search that found anything).
    void Search() override {
        ++searches;
        SearchControllers(link_);
        selected.reset();
        if (link_.Table().count > 0) selected = 0;
    }
    // Selects the row of `serial`; false when it is not listed.
    bool SelectSerial(std::uint32_t serial) {
        selected.reset();
        for (std::size_t k = 0; k < link_.Table().count; ++k) {
            if (link_.Table().records[k].serial == serial) selected = static_cast<int>(k);
        }
        return selected.has_value();
    }
    std::uint32_t SelectedSerial() const {
        return link_.Table().records[static_cast<std::size_t>(*selected)].serial;
    }

    std::optional<int> SelectedRow() const override { return selected; }
    int RowCount() const override { return static_cast<int>(link_.Table().count); }
    int DateFormatIndex() const override { return dateFormat; }
    int WebLanguageIndex() const override { return language; }
    void ShowOutcome(Outcome outcome) override { told.push_back(outcome); }
    void ShowWaitCursor() override { cursors += "W"; }
    void ShowArrowCursor() override { cursors += "A"; }
    void SelectRow(int row) override {
        selected = row;
        selections.push_back(row);
    }

    std::optional<int> selected;
    int dateFormat = 0;
    int language = 0;
    std::vector<Outcome> told;  // what the procedure told, in order
    std::string cursors;          // W for the wait cursor, A for the arrow, in order
    int searches = 0;
    std::vector<int> selections;  // rows selected by the procedure, in order

private:
    ControllerLink& link_;
};

}  // namespace lumaro::testing
