#pragma once

#include "mainwindow/frmMain.h"
#include "session/DatabaseHandle.h"
#include "tests/support/TestData.h"

#include <QTest>

#include <ostream>

// Readable failure output for texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The window's database work runs on its worker: an action returns at once
// and its results are on screen once the worker has nothing left.
inline bool settled(const frmMain* window, int timeoutMs = 30000) {
    return QTest::qWaitFor([window] { return window->databaseIdle(); }, timeoutMs);
}

// Whether the reader can open the test files at all: without it, every
// test that reads a database fails here, saying why.
inline bool readerAvailable() {
    try {
        quarix::session::DatabaseHandle(QString::fromStdString(quarix::test::dataFile("shop.mdb")))
            .open();
        return true;
    } catch (const quarix::engine::EngineError&) {
        return false;
    }
}

#define REQUIRE_ENGINE()                                                                           \
    ASSERT_TRUE(readerAvailable()) << "the database reader cannot read the test files"
