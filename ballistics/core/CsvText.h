// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The CSV of the command line's tables (RFC 4180), for programs: every number
// with "." as its decimal separator whatever the regional settings, fields
// quoted only where they must be, records ending in CR LF.
//
//   CsvRecord({"a", "b,c"})      // "a,\"b,c\"\r\n"
//   TrajectoryCsv(rows)          // the ten captions, then one record per step
#include "ballistics/core/NumberText.h"
#include "ballistics/core/TrajectoryRows.h"

#include <string>
#include <vector>

namespace korvo {

// RFC 4180: a field with a comma, a quote or a line break is quoted, its quotes
// doubled; fields are joined with "," and each record ends with CR LF.
std::string CsvRecord(const std::vector<std::string>& fields);

// A header record, then one record per row of texts, each text with "." for
// the decimal separator in force (DotText).
template <class Rows> std::string DotCsv(const std::vector<std::string>& header, const Rows& rows) {
    std::string csv = CsvRecord(header);
    for (const auto& row : rows) {
        std::vector<std::string> fields;
        for (const auto& text : row)
            fields.push_back(DotText(std::string(text)));
        csv += CsvRecord(fields);
    }
    return csv;
}

// A run's table: the ten captions, then every step's ten texts.
std::string TrajectoryCsv(const TPackedRows& rows);

} // namespace korvo
