#include "formpos.h"

#include "core/keltrin.h"

#include <QWidget>

namespace codes {

void CentreOnOwner(QWidget *form) {
    QWidget *owner = form->parentWidget() ? form->parentWidget()->window() : nullptr;
    if (!owner || !owner->isVisible()) {
        DispFormPos(form, 1);
        return;
    }
    const QRect frame = owner->frameGeometry();
    form->move(frame.center() - QPoint(form->width() / 2, form->height() / 2));
}

} // namespace codes
