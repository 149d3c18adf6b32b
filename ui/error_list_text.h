// The error list dialog's text, the same for every toolkit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace junctra {

// Every line, the last included, followed by line_end; nothing else.
std::u16string ErrorListText(const std::vector<std::u16string>& errors,
                             std::u16string_view line_end);

}  // namespace junctra
