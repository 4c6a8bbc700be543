// A document together with whom its commands ask and the clock of the proposed file name: what
// the File and transfer commands run on. The document itself stays state alone.
#pragma once

#include "app/user_answers.h"
#include "scene/document.h"

#include <QDateTime>

#include <functional>

namespace lumo {

class DocumentSession : public Document {
public:
    DocumentSession(const DefaultParameters& defaults, UserAnswers& answers, QObject* parent = nullptr)
        : Document(defaults, parent)
        , m_answers(answers)
    {
    }

    UserAnswers& answers() { return m_answers; }

    // The clock of the proposed file name ("scene" + yymmddhhnn); tests fix it.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

private:
    UserAnswers& m_answers;
};

} // namespace lumo
