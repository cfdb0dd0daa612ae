#include "settings/OptionSizeRule.h"

#include "layout/BoardSizeLimit.h"

#include <vector>

namespace zel {

namespace {
constexpr int kNames = 0, kDuties = 1, kTagWidth = 2, kTagHeight = 3;

QString describe(const BoardSizeProblem& problem) {
    const QString side = QString::number(kMaxWindowSide);
    const QString size = QString::number(problem.pixels);
    switch (problem.limit) {
    case BoardSizeLimit::BoardWidth:
        return QStringLiteral("この値ではボードの幅が %1 ピクセルになり、画面に出せる %2 ピクセルを"
                              "超えます。名前札の幅を小さくするか、名前の縦並び数を増やして"
                              "ください。")
            .arg(size, side);
    case BoardSizeLimit::BoardHeight:
        return QStringLiteral("この値ではボードの高さが %1 ピクセルになり、画面に出せる %2 ピクセル"
                              "を超えます。名前札の高さか名前の縦並び数を小さくしてください。")
            .arg(size, side);
    case BoardSizeLimit::ListWidth:
        return QStringLiteral("この値では当番の一覧の幅が %1 ピクセルになり、画面に出せる %2 "
                              "ピクセルを超えます。当番名の縦並び数を増やしてください。")
            .arg(size, side);
    case BoardSizeLimit::ListHeight:
        return QStringLiteral("この値では当番の一覧の高さが %1 ピクセルになり、画面に出せる %2 "
                              "ピクセルを超えます。名前札の高さか当番名の縦並び数を小さくして"
                              "ください。")
            .arg(size, side);
    case BoardSizeLimit::Pixels:
        return QStringLiteral("この値ではボードと当番の一覧が合わせて %1 万ピクセルになり、"
                              "メモリーを使いすぎます (%2 万ピクセルまで)。名前札を小さくして"
                              "ください。")
            .arg(problem.pixels / 10000)
            .arg(kMaxBoardPixels / 10000);
    }
    return {};
}

// The boxes that shape what is too large, the likeliest cause first.
std::vector<int> causes(BoardSizeLimit limit) {
    switch (limit) {
    case BoardSizeLimit::BoardWidth:
        return {kTagWidth, kNames};
    case BoardSizeLimit::BoardHeight:
        return {kTagHeight, kNames};
    case BoardSizeLimit::ListWidth:
        return {kDuties};
    case BoardSizeLimit::ListHeight:
        return {kTagHeight, kDuties};
    case BoardSizeLimit::Pixels:
        break;
    }
    return {kTagHeight, kTagWidth, kNames, kDuties};
}
} // namespace

std::optional<OptionProblem> boardSizeOptionProblem(const RosterState& state,
                                                    const DisplayOptions& options,
                                                    double twipsPerPixelX, double twipsPerPixelY) {
    const auto problem = boardSizeProblem(state, options, twipsPerPixelX, twipsPerPixelY);
    if (!problem)
        return std::nullopt;
    const DisplayOptions current = currentOptions(state);
    const std::vector<int> rows = causes(problem->limit);
    int row = rows.front();
    for (int candidate : rows) {
        const OptionField field = kOptionRows[candidate].field;
        if (optionValue(options, field) != optionValue(current, field)) {
            row = candidate;
            break;
        }
    }
    return OptionProblem{row, describe(*problem)};
}

} // namespace zel
