// The four usage tips and the tip step.
#include "ui/tips.h"

#include <array>

#include "ui/tip_index.h"

namespace {

const std::array<QString, 4> kTips = {
    QStringLiteral("拾穗集:列表框可以多选哦~选择上面的行,按着Shift,单击下面的行,或直接按着Ctrl选行~"),
    QStringLiteral("拾穗集:表头可以直接拖动~~"),
    QStringLiteral("拾穗集:双击可以直接打开所选行链接哦~"),
    QStringLiteral("拾穗集:右键列表框可以进行多种操作~"),
};

}  // namespace

QString TipText(int number) {
    if (number < 1 || number > static_cast<int>(kTips.size())) {
        return {};
    }
    return kTips[number - 1];
}

void ShowNextTip(const MainWindowForm& form) {
    if (!TipText(TipIndex).isEmpty()) {
        form.statusPart0->setText(TipText(TipIndex));
    }
    ++TipIndex;
    if (TipIndex == 5) {
        TipIndex = 1;
    }
}
