#include "records/gui/statistics_window.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "platform/env.h"
#include "records/game_records.h"
#include "start/program_start.h"

namespace zv {
namespace {

const char* const kTitle = "麻雀  成績の統計";
const char* const kNoResults = "まだ成績がありません。対局を終えると、ここに統計が表示されます。";

QString U(const char* text) { return QString::fromUtf8(text); }

QString Percent(double share) { return Q(PercentText(share)); }

QString OptionalNumber(const std::optional<std::int32_t>& value) {
    return value ? QString::number(*value) : U("-");
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(U(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// Figure labels in display order: object name and caption.
struct FigureRow {
    const char* name;
    const char* caption;
};
constexpr FigureRow kFigureRows[] = {
    {"GameCount", "対局数"}, {"AveragePlace", "平均順位"}, {"FirstRate", "1位率"},
    {"SecondRate", "2位率"}, {"ThirdRate", "3位率"},       {"FourthRate", "4位率"},
    {"WinRate", "和了率"},   {"DealInRate", "放銃率"},     {"RiichiRate", "リーチ率"},
    {"CallRate", "副露率"},  {"AverageWin", "平均和了点"}, {"AverageDealIn", "平均放銃点"},
};

QString GameDate(const RecordedGame& game) {
    if (!game.writtenAt) return U("-");
    return QDateTime::fromSecsSinceEpoch(*game.writtenAt).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

}  // namespace

// ---------------------------------------------------------------------------

PlaceChart::PlaceChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PlaceChart"));
    setAccessibleName(U("直近100戦の順位と平均順位の推移"));
    setMinimumSize(360, 150);
}

void PlaceChart::SetGames(const std::vector<int>& places, const std::vector<double>& averages) {
    places_ = places;
    averages_ = averages;
    setAccessibleDescription(places_.empty() ? U("対局がありません")
                                             : U("%1戦を表示").arg(static_cast<int>(places_.size())));
    update();
}

void PlaceChart::SetPlaceCount(int count) {
    placeCount_ = count == 3 ? 3 : 4;
    update();
}

void PlaceChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = painter.fontMetrics();
    const int left = metrics.horizontalAdvance(U("4位")) + 10;
    // Room below the plot for the half of the "4位" label and the caption.
    const QRect plot = rect().adjusted(left, metrics.height() / 2 + 4, -10, -2 * metrics.height() - 6);
    auto yOf = [&](double place) { return plot.top() + (place - 1.0) / (placeCount_ - 1.0) * plot.height(); };
    const int count = static_cast<int>(places_.size());
    auto xOf = [&](int i) {
        return count <= 1 ? plot.center().x() : plot.left() + plot.width() * i / (count - 1.0);
    };

    painter.setPen(palette().color(QPalette::Mid));
    for (int place = 1; place <= placeCount_; ++place) {
        const int y = static_cast<int>(yOf(place));
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRect(0, y - metrics.height() / 2, left - 6, metrics.height()), Qt::AlignRight,
                         U("%1位").arg(place));
        painter.setPen(palette().color(QPalette::Mid));
    }
    painter.setPen(palette().color(QPalette::Text));
    const QString caption =
        count == 0 ? U("対局がありません") : U("直近%1戦（点: 順位、線: 平均順位）").arg(count);
    painter.drawText(
        QRect(plot.left(), plot.bottom() + metrics.height() / 2 + 4, plot.width(), metrics.height() + 2),
        Qt::AlignLeft, caption);
    if (count == 0) return;

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 110, 200));
    for (int i = 0; i < count; ++i) painter.drawEllipse(QPointF(xOf(i), yOf(places_[i])), 3, 3);

    QPainterPath trend;
    for (int i = 0; i < static_cast<int>(averages_.size()) && i < count; ++i) {
        const QPointF point(xOf(i), yOf(averages_[i]));
        if (i == 0) {
            trend.moveTo(point);
        } else {
            trend.lineTo(point);
        }
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(210, 80, 30), 2));
    painter.drawPath(trend);
}

// ---------------------------------------------------------------------------

RateBars::RateBars(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RateBars"));
    setAccessibleName(U("順位率と和了率・放銃率・リーチ率・副露率の棒グラフ"));
}

void RateBars::SetBars(std::vector<Bar> bars) {
    bars_ = std::move(bars);
    QStringList parts;
    for (const Bar& bar : bars_) parts << bar.name + U(" ") + Percent(bar.share);
    setAccessibleDescription(parts.join(U("、")));
    setMinimumHeight(sizeHint().height());  // every bar stays readable
    updateGeometry();
    update();
}

QSize RateBars::sizeHint() const {
    return {420, static_cast<int>(bars_.size()) * (fontMetrics().height() + 6) + 8};
}

void RateBars::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = painter.fontMetrics();
    int nameWidth = 0;
    for (const Bar& bar : bars_) nameWidth = std::max(nameWidth, metrics.horizontalAdvance(bar.name));
    const int valueWidth = metrics.horizontalAdvance(U("100.0%")) + 8;
    const int barLeft = nameWidth + 12;
    const int barWidth = std::max(10, width() - barLeft - valueWidth);
    const int line = metrics.height() + 6;
    int y = 4;
    for (const Bar& bar : bars_) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRect(4, y, nameWidth, line), Qt::AlignRight | Qt::AlignVCenter, bar.name);
        const double share = std::clamp(bar.share, 0.0, 1.0);
        painter.fillRect(QRect(barLeft, y + 3, static_cast<int>(barWidth * share), line - 6),
                         QColor(60, 150, 90));
        painter.drawText(QRect(barLeft + barWidth + 4, y, valueWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                         Percent(bar.share));
        y += line;
    }
}

// ---------------------------------------------------------------------------

TStatisticsWindow::TStatisticsWindow(QWidget* owner, const std::string& playerName)
    : QDialog(owner), playerName_(playerName) {
    setObjectName(QStringLiteral("StatisticsWindow"));
    setWindowTitle(U(kTitle) + U(" - ") + Q(playerName));
    setModal(false);

    NetworkChoice = new QRadioButton(U("ネットワーク対戦"), this);
    NetworkChoice->setObjectName(QStringLiteral("NetworkChoice"));
    NetworkChoice->setChecked(true);
    SoloChoice = new QRadioButton(U("一人遊び"), this);
    SoloChoice->setObjectName(QStringLiteral("SoloChoice"));
    SanmaChoice = new QRadioButton(U("サンマ"), this);
    SanmaChoice->setObjectName(QStringLiteral("SanmaChoice"));
    SanmaChoice->setToolTip(U("三人麻雀の成績"));
    SanmaChoice->setVisible(CurrentEnv().Exists(ThreePlayerResultsPath(playerName_)));
    for (QRadioButton* choice : {NetworkChoice, SoloChoice, SanmaChoice})
        connect(choice, &QRadioButton::toggled, this, [this](bool on) {
            if (on) Reload();
        });

    EmptyNote = new QLabel(U(kNoResults), this);
    EmptyNote->setObjectName(QStringLiteral("EmptyNote"));
    EmptyNote->setWordWrap(true);

    Figures = new QWidget(this);
    Figures->setObjectName(QStringLiteral("Figures"));
    auto* grid = new QGridLayout(Figures);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    int row = 0;
    for (const FigureRow& figure : kFigureRows) {
        auto* value = new QLabel(Figures);
        value->setObjectName(QString::fromLatin1(figure.name));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(70);
        auto* caption = new QLabel(U(figure.caption), Figures);
        caption->setBuddy(value);
        grid->addWidget(caption, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);

    Chart = new PlaceChart(this);
    Rates = new RateBars(this);

    auto* gamesGroup = new QGroupBox(U("記録された対局"), this);
    GameList = new QTreeWidget(gamesGroup);
    GameList->setObjectName(QStringLiteral("GameList"));
    GameList->setAccessibleName(U("記録された対局の一覧"));
    GameList->setHeaderLabels({U("日時"), U("順位"), U("ポイント"), U("牌譜")});
    GameList->setRootIsDecorated(false);
    GameList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ReplayButton = Button(gamesGroup, "ReplayButton", "再生");
    ReplayButton->setToolTip(U("選んだ対局の牌譜を再生します"));
    ReviewButton = Button(gamesGroup, "ReviewButton", "検討");
    ReviewButton->setToolTip(U("選んだ対局の自分の打牌を検討します"));
    connect(ReplayButton, &QPushButton::clicked, this, &TStatisticsWindow::ReplayButtonClick);
    connect(ReviewButton, &QPushButton::clicked, this, &TStatisticsWindow::ReviewButtonClick);
    connect(GameList, &QTreeWidget::itemDoubleClicked, this, &TStatisticsWindow::ReplayButtonClick);
    auto* gameButtons = new QVBoxLayout;
    gameButtons->addWidget(ReplayButton);
    gameButtons->addWidget(ReviewButton);
    gameButtons->addStretch();
    auto* gamesLayout = new QHBoxLayout(gamesGroup);
    gamesLayout->addWidget(GameList, 1);
    gamesLayout->addLayout(gameButtons);

    CloseButton = Button(this, "CloseButton", "閉じる");
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::hide);

    auto* choices = new QHBoxLayout;
    choices->addWidget(NetworkChoice);
    choices->addWidget(SoloChoice);
    choices->addWidget(SanmaChoice);
    choices->addStretch();

    auto* charts = new QVBoxLayout;
    charts->addWidget(Chart, 1);
    charts->addWidget(Rates);
    auto* body = new QHBoxLayout;
    body->addWidget(Figures);
    body->addLayout(charts, 1);
    GameList->setMinimumHeight(100);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(EmptyNote);
    layout->addLayout(body, 3);
    layout->addWidget(gamesGroup, 1);
    layout->addLayout(buttons);

    Reload();
}

void TStatisticsWindow::Reload() {
    ResultsStatistics statistics;
    const bool three = SanmaChoice->isChecked();
    const bool read = three ? ReadResultsStatisticsFile(ThreePlayerResultsPath(playerName_), statistics)
                            : ReadResultsStatistics(playerName_, NetworkChoice->isChecked(), statistics);
    ShowStatistics(read ? statistics : ResultsStatistics{}, three ? 3 : 4);
    const bool empty = statistics.games == 0;
    EmptyNote->setVisible(empty);
    Figures->setEnabled(!empty);
    FillGameList();
}

void TStatisticsWindow::ShowStatistics(const ResultsStatistics& s, int places) {
    const QString texts[] = {
        QString::number(s.games),     s.averagePlace ? QString::number(*s.averagePlace, 'f', 2) : U("-"),
        Percent(s.placeRates[0]),     Percent(s.placeRates[1]),
        Percent(s.placeRates[2]),     Percent(s.placeRates[3]),
        Percent(s.winRate),           Percent(s.dealInRate),
        Percent(s.riichiRate),        Percent(s.callRate),
        OptionalNumber(s.averageWin), OptionalNumber(s.averageDealIn),
    };
    int i = 0;
    for (const FigureRow& figure : kFigureRows) {
        if (auto* label = Figures->findChild<QLabel*>(QString::fromLatin1(figure.name)))
            label->setText(texts[i]);
        ++i;
    }
    // Three-player games have no fourth place: its figure and bar go.
    auto* fourth = Figures->findChild<QLabel*>(QStringLiteral("FourthRate"));
    for (QLabel* label : Figures->findChildren<QLabel*>())
        if (label == fourth || label->buddy() == fourth) label->setVisible(places == 4);
    Chart->SetPlaceCount(places);
    Chart->SetGames(s.recentPlaces, s.averagePlaceTrend);
    std::vector<RateBars::Bar> bars = {
        {U("1位率"), s.placeRates[0]}, {U("2位率"), s.placeRates[1]}, {U("3位率"), s.placeRates[2]},
        {U("4位率"), s.placeRates[3]}, {U("和了率"), s.winRate},      {U("放銃率"), s.dealInRate},
        {U("リーチ率"), s.riichiRate}, {U("副露率"), s.callRate},
    };
    if (places == 3) bars.erase(bars.begin() + 3);
    Rates->SetBars(std::move(bars));
}

void TStatisticsWindow::FillGameList() {
    // The three-player games are listed with their own statistics only.
    games_ = RecordedGamesOf(playerName_);
    const bool three = SanmaChoice->isChecked();
    std::erase_if(games_, [three](const RecordedGame& game) { return game.threePlayer != three; });
    GameList->clear();
    for (const RecordedGame& game : games_) {
        auto* item = new QTreeWidgetItem(GameList);
        item->setText(0, GameDate(game));
        item->setText(1, U("%1位").arg(game.place));
        item->setText(2, QString::number(game.points));
        item->setText(3, U("%1 (第%2局)").arg(QFileInfo(Q(game.path)).fileName()).arg(game.game));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(3, Q(game.path));
    }
    if (!games_.empty()) GameList->setCurrentItem(GameList->topLevelItem(0));
}

const RecordedGame* TStatisticsWindow::SelectedGame(const char* what) {
    const int row = GameList->indexOfTopLevelItem(GameList->currentItem());
    if (row < 0 || row >= static_cast<int>(games_.size())) {
        ShowErrorDialog(this, what, "対局が選択されていません", "");
        return nullptr;
    }
    return &games_[static_cast<std::size_t>(row)];
}

void TStatisticsWindow::ReplayButtonClick() {
    const RecordedGame* game = SelectedGame("牌譜の再生");
    if (game == nullptr) return;
    WidgetDialogs dialogs(this);
    RunCommand(dialogs, ReplayRecordCommand(game->path), kShowNormal);
}

void TStatisticsWindow::ReviewButtonClick() {
    const RecordedGame* game = SelectedGame("牌譜の検討");
    if (game == nullptr) return;
    WidgetDialogs dialogs(this);
    RunCommand(dialogs, ReviewRecordCommand(game->path, game->seat), kShowNormal);
}

}  // namespace zv
