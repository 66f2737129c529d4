// The values of a query's parameters, asked for before a search runs.
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "platform/ParameterPrompt.h"
#include "session/DatabaseWorker.h"

using quarix::platform::MessageBox;
namespace sql = quarix::engine::sql;

quarix::session::Task<bool> frmMain::askParameters(QString source) {
    std::vector<sql::QueryParameter> parameters;
    const quarix::session::DatabaseHandle database = session_.database();
    const JobReport report =
        co_await databaseJob(QString(), [&](const quarix::engine::ReadOptions& options) {
            parameters = database.open()->parameters(source.toStdString(), options);
        });
    if (report.end == quarix::session::JobEnd::Cancelled)
        co_return false;
    // A source that cannot be read fails in the search itself, with its message.
    sql::ParameterAnswers answers;
    for (const sql::QueryParameter& parameter : parameters) {
        for (;;) {
            const auto typed = quarix::platform::ParameterPrompt::ask(
                this, QString::fromStdString(parameter.name));
            if (!typed)
                co_return false;
            const std::string answer = typed->toStdString();
            if (sql::convertAnswer(parameter.type, answer)) {
                answers.set(parameter.name, answer);
                break;
            }
            MessageBox::show(
                this,
                QString::fromStdString(sql::invalidAnswerMessage(parameter.name, parameter.type)),
                QStringLiteral("Enter Parameter Value"), MessageBox::Icon::Warning);
        }
    }
    session_.parameterAnswers = std::move(answers);
    session_.answeredSource = source;
    co_return true;
}
