// HTML as a service writes it in a description ("<p>One.</p><p>Two &amp; three</p>") as the
// plain text of a note: paragraphs and line breaks as CR LF, other tags dropped, entities
// written out.
#pragma once

#include <string>
#include <string_view>

namespace quillery::exchange {

std::string htmlAsText(std::string_view html);

}  // namespace quillery::exchange
