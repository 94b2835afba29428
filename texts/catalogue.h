#pragma once
// The catalogue of every text Lumaro shows, in both languages, keyed by TextId: the window
// and the console take their texts from here, so they cannot drift apart. The Chinese of the
// window's own texts is texts/chinese_texts.h, from which lumaro.rc is built too. UTF-8.

#include <initializer_list>
#include <string>
#include <string_view>

#include "texts/language.h"
#include "texts/text_id.h"

namespace lumaro {

std::string_view Text(TextId id, Language language);

// The text with "{1}", "{2}"... replaced by the values in order; a placeholder without a
// value stays as it is.
std::string FormatText(TextId id, Language language,
                       std::initializer_list<std::string_view> values);

}  // namespace lumaro
