// The document state; the File commands that change it live in app/file_commands.
#include "scene/document.h"

namespace lumo {

Document::Document(const DefaultParameters& defaults, UserAnswers& answers)
    : m_defaults(defaults)
    , m_answers(answers)
{
}

} // namespace lumo
