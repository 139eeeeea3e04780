// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>
#include <mutex>

namespace MeCab {
class Tagger;
}

namespace hoshi {

/// Turns any announcement into the hiragana reading the Japanese speech voice
/// says right: kanji through MeCab (naist-jdic preferred), full-width and
/// half-width forms folded, our captions, key names, letters, marks and
/// numbers with their counters (3分 さんぷん) read from our own table, line
/// breaks as pauses, English words not in the table spelled by the letters'
/// names. The result holds hiragana, ー, 、 and blanks.
///
/// The dictionary loads on the first reading that needs it (or warmUp()), not
/// in the constructor. Without it kanji stay as written, and that is said once
/// on standard error. Safe to call from several threads.
class KanaReader {
public:
    /// dictionaryDir names a MeCab dictionary folder; empty means naist-jdic
    /// when it is installed, else MeCab's default dictionary.
    explicit KanaReader(QString dictionaryDir = QString());
    ~KanaReader();
    KanaReader(const KanaReader &) = delete;
    KanaReader &operator=(const KanaReader &) = delete;

    /// Loads the dictionary now, so the first announcement is not held up.
    void warmUp() const;
    /// Whether kanji are read; loads the dictionary when not yet tried.
    bool readsKanji() const;

    QString reading(const QString &text) const;

private:
    // Expects m_mutex held.
    void loadOnce() const;

    const QString m_dictionaryDir;
    mutable std::mutex m_mutex; // guards the tagger and its loading
    mutable bool m_loadTried = false;
    mutable std::unique_ptr<MeCab::Tagger> m_tagger;
};

} // namespace hoshi
