#pragma once
// The statistics window of the power-up edition: a player's place rates,
// win, deal-in, riichi and call rates with their averages, a chart of the
// latest games' places with the average place, bars of the rates, and the
// player's recorded games, each of which can be replayed or reviewed.
// Modeless, owned by the player-information dialog. Network games, one-player
// games and, once the player has a three-player results file, the
// three-player games (サンマ: three places) are each shown apart.
#include <QDialog>
#include <QWidget>
#include <string>
#include <vector>

#include "records/recorded_games.h"
#include "records/results_statistics.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace zv {

// Places of the latest games as dots (1st at the top) and the average place
// up to each game as a line.
class PlaceChart : public QWidget {
    Q_OBJECT
public:
    explicit PlaceChart(QWidget* parent);
    void SetGames(const std::vector<int>& places, const std::vector<double>& averages);
    // The places on the chart's scale: 4, or 3 for three-player games.
    void SetPlaceCount(int count);
    int GameCount() const { return static_cast<int>(places_.size()); }
    QSize sizeHint() const override { return {420, 170}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<int> places_;
    std::vector<double> averages_;
    int placeCount_ = 4;
};

// One horizontal bar per rate, labelled with its name and percentage.
class RateBars : public QWidget {
    Q_OBJECT
public:
    struct Bar {
        QString name;
        double share = 0;
    };
    explicit RateBars(QWidget* parent);
    void SetBars(std::vector<Bar> bars);
    const std::vector<Bar>& Bars() const { return bars_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Bar> bars_;
};

class TStatisticsWindow : public QDialog {
    Q_OBJECT
public:
    TStatisticsWindow(QWidget* owner, const std::string& playerName);

    QRadioButton* NetworkChoice;
    QRadioButton* SoloChoice;
    QRadioButton* SanmaChoice;  // shown only when the three-player results file exists
    QLabel* EmptyNote;
    QWidget* Figures;
    PlaceChart* Chart;
    RateBars* Rates;
    QTreeWidget* GameList;
    QPushButton* ReplayButton;
    QPushButton* ReviewButton;
    QPushButton* CloseButton;

    // Rereads the chosen results file and the records.
    void Reload();
    void ReplayButtonClick();
    void ReviewButtonClick();

private:
    // `places` is 3 for the three-player games, else 4.
    void ShowStatistics(const ResultsStatistics& statistics, int places);
    void FillGameList();
    // The selected recorded game, or nullptr after telling the user.
    const RecordedGame* SelectedGame(const char* what);

    std::string playerName_;
    std::vector<RecordedGame> games_;
};

}  // namespace zv
