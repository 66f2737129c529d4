#include "session/SearchSession.h"

namespace quarix::session {

void SearchSession::databaseOpened(const QString& path, bool withPassword) {
    parameterAnswers = {};
    answeredSource.clear();
    if (!passwordKeptFor_.isEmpty() && passwordKeptFor_ != path) {
        engine::AccessDatabase::forget(passwordKeptFor_.toStdString());
        passwordKeptFor_.clear();
    }
    if (withPassword)
        passwordKeptFor_ = path;
    if (path != openedPath_) {
        state.CurrentWhere.clear();
        state.SavedWhere.clear();
        state.SearchMode = search::SearchState::NewSearch;
        openedPath_ = path;
    }
}

SearchSession::~SearchSession() {
    if (!passwordKeptFor_.isEmpty())
        engine::AccessDatabase::forget(passwordKeptFor_.toStdString());
}

} // namespace quarix::session
