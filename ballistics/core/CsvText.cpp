// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/CsvText.h"

namespace korvo {

std::string CsvRecord(const std::vector<std::string>& fields) {
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += ',';
        const std::string& field = fields[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            record += field;
            continue;
        }
        record += '"';
        for (char c : field) {
            if (c == '"')
                record += '"';
            record += c;
        }
        record += '"';
    }
    record += "\r\n";
    return record;
}

std::string TrajectoryCsv(const TPackedRows& rows) {
    std::vector<std::string> header;
    for (const TrajectoryColumn& column : TrajectoryColumns())
        header.emplace_back(column.Caption);
    std::string csv = CsvRecord(header);
    std::vector<std::string> fields(kTrajectoryColumnCount);
    for (int r = 0; r < rows.Count(); ++r) {
        for (int c = 0; c < kTrajectoryColumnCount; ++c)
            fields[c] = DotText(std::string(rows.Cell(r, c)));
        csv += CsvRecord(fields);
    }
    return csv;
}

} // namespace korvo
