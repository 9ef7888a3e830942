// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Which field of a window holds each named value that the Qt-free core reads
// and writes, so that a window's view is a table rather than a switch.
//
//   fields_.Bind({{IdealField::Angulo, Angulo}, {IdealField::Items, Items}});
//   fields_.SetText(IdealField::Angulo, "78");   // shown from its start
//
// A name the window never bound is a programming fault and throws
// std::logic_error.
#include "chrome/Controls.h"

#include <QLineEdit>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>

namespace korvo {

template <class Name> class TFieldTexts {
public:
    void Bind(std::initializer_list<std::pair<Name, QLineEdit*>> fields) {
        for (const auto& [name, field] : fields)
            fields_[name] = field;
    }

    QLineEdit* Field(Name name) const {
        const auto found = fields_.find(name);
        if (found == fields_.end())
            throw std::logic_error("unknown window field");
        return found->second;
    }

    std::string Text(Name name) const { return ToStdString(Field(name)->text()); }

    void SetText(Name name, const std::string& text) const { ShowText(Field(name), ToQString(text)); }

private:
    std::map<Name, QLineEdit*> fields_;
};

} // namespace korvo
