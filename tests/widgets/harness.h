// What the window tests share: a fresh working folder, a sound player that
// records, and a main window whose modal seams the test answers.
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "forms/main/item_names.h"
#include "forms/main/main_window.h"
#include "sound/wave_player.h"

namespace testing_support {

class WorkingFolder {
public:
    WorkingFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~WorkingFolder() { QDir::setCurrent(previous_); }

    QString path() const { return dir_.path(); }
    QString absolute(const QString& relative) const { return dir_.filePath(relative); }

    // Writes bytes, making folders as needed.
    void write(const QString& relative, const QByteArray& bytes) const {
        QDir(dir_.path()).mkpath(QFileInfo(absolute(relative)).path());
        QFile file(absolute(relative));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }
    void remove(const QString& relative) const { QFile::remove(absolute(relative)); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

class RecordingPlayer : public sound::WavePlayer {
public:
    std::vector<std::string> played;
    bool fails = false;

    void play(const std::string& windowsPath) override {
        played.push_back(windowsPath);
        if (fails)
            throw base::Error("The sound device can't be opened");
    }
};

// A main window with every modal answered: errors and notices are counted,
// the font and colour dialogs return what the test puts in their queues.
struct Harness {
    RecordingPlayer player;
    QStringList errors;
    int notices = 0;
    std::vector<std::optional<QFont>> fontAnswers;
    std::vector<std::optional<QColor>> colorAnswers;
    std::vector<QFont> fontsOffered;
    std::vector<QColor> colorsOffered;
    std::vector<std::optional<divination::LineValues>> ownThrowAnswers;
    std::vector<std::optional<divination::StalkTotals>> yarrowAnswers;
    std::vector<std::optional<QString>> questionAnswers;
    std::vector<TForm1::SyncChoice> syncAnswers;
    std::vector<QString> saveFileAnswers;
    std::unique_ptr<TForm1> form;

    // Starts from the given Save.Bmp in the working folder, or from none;
    // with the pictures of the given scale, or of the screen's.
    explicit Harness(const QByteArray& saveBmp = {}, int pictureScale = 0) {
        QFile::remove(QStringLiteral("Save.Bmp"));
        if (!saveBmp.isEmpty()) {
            QFile file(QStringLiteral("Save.Bmp"));
            file.open(QIODevice::WriteOnly);
            file.write(saveBmp);
        }
        TForm1::Seams seams;
        seams.reportError = [this](const QString& text) { errors << text; };
        seams.showNotice = [this] { ++notices; };
        seams.player = &player;
        seams.pictureScale = pictureScale;
        seams.chooseFont = [this](const QFont& initial) {
            fontsOffered.push_back(initial);
            std::optional<QFont> answer = fontAnswers.front();
            fontAnswers.erase(fontAnswers.begin());
            return answer;
        };
        seams.chooseColor = [this](const QColor& initial) {
            colorsOffered.push_back(initial);
            std::optional<QColor> answer = colorAnswers.front();
            colorAnswers.erase(colorAnswers.begin());
            return answer;
        };
        seams.askOwnThrow = [this]() -> std::optional<forms::OwnThrow> {
            std::optional<divination::LineValues> answer = ownThrowAnswers.front();
            ownThrowAnswers.erase(ownThrowAnswers.begin());
            if (!answer)
                return std::nullopt;
            return forms::OwnThrow{*answer, std::nullopt};
        };
        seams.castYarrow = [this] {
            std::optional<divination::StalkTotals> answer = yarrowAnswers.front();
            yarrowAnswers.erase(yarrowAnswers.begin());
            return answer;
        };
        seams.chooseSaveFile = [this](const QString&, const QString&) {
            QString answer = saveFileAnswers.front();
            saveFileAnswers.erase(saveFileAnswers.begin());
            return answer;
        };
        seams.chooseSync = [this](const QString&) {
            TForm1::SyncChoice answer = syncAnswers.front();
            syncAnswers.erase(syncAnswers.begin());
            return answer;
        };
        seams.askQuestion = [this](const QString&) {
            std::optional<QString> answer = questionAnswers.front();
            questionAnswers.erase(questionAnswers.begin());
            return answer;
        };
        form = std::make_unique<TForm1>(seams);
    }

    template <typename T = QWidget>
    T* find(const char* name) const {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
};

}  // namespace testing_support
