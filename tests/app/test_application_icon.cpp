#include "app/quarix/ApplicationIcon.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ApplicationIcon : public ::testing::Test {
protected:
    void TearDown() override {
        QIcon::setThemeSearchPaths(savedPaths_);
        QIcon::setThemeName(savedTheme_);
    }

    const QStringList savedPaths_ = QIcon::themeSearchPaths();
    const QString savedTheme_ = QIcon::themeName();
};

TEST_F(ApplicationIcon, WithoutAThemeTheCompiledInPicturesServeEverySize) {
    QIcon::setThemeSearchPaths({});
    const QIcon icon = applicationIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    const QImage picture = icon.pixmap(48).toImage();
    ASSERT_EQ(picture.size(), QSize(48, 48));
    EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0) << "the corners are transparent";
    EXPECT_EQ(picture.pixelColor(24, 24).alpha(), 255);
}

TEST_F(ApplicationIcon, AThemeThatHasTheApplicationsIconWins) {
    // The theme looks the icon up by the name it is installed under.
    QTemporaryDir themes;
    ASSERT_TRUE(themes.isValid());
    const QString theme = themes.path() + u"/hicolor"_s;
    ASSERT_TRUE(QDir().mkpath(theme + u"/48x48/apps"_s));
    QFile index(theme + u"/index.theme"_s);
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n"
                "[48x48/apps]\nSize=48\nContext=Applications\nType=Fixed\n");
    index.close();
    QImage red(48, 48, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(theme + u"/48x48/apps/"_s + QStringLiteral(QUARIX_APP_ID) + u".png"_s));

    QIcon::setThemeSearchPaths({themes.path()});
    QIcon::setThemeName(u"hicolor"_s);
    EXPECT_EQ(applicationIcon().pixmap(48).toImage().pixelColor(24, 24), QColor(Qt::red));
}

} // namespace
