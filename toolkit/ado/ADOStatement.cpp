#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QTimeZone>

#include "ADO.h"
#include "ADOErrors.h"

namespace {

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// A statement's text with ? for each placeholder, the placeholders' names in
// the order they appear, and each name once (first spelling).
struct TextoPosicional {
    QString Positional;
    QStringList Order;
    QStringList Names;
};

TextoPosicional Posicional(const QString& text)
{
    // Rewrites :NAME to ? outside literals, quoted names and comments; "::" is
    // a PostgreSQL cast and "a[1:2]" a slice, neither a placeholder.
    TextoPosicional r;
    QString& out = r.Positional;
    out.reserve(text.size());
    const int n = text.size();
    int i = 0;
    auto indexOf = [&r](const QString& name) {
        for (int k = 0; k < r.Names.size(); ++k)
            if (r.Names[k].compare(name, Qt::CaseInsensitive) == 0)
                return k;
        return -1;
    };
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            int j = i + 1;
            while (j < n) {
                if (text.at(j) == c) {
                    if (j + 1 < n && text.at(j + 1) == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += text.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && text.at(i + 1) == QLatin1Char('-')) {
            int j = text.indexOf(QLatin1Char('\n'), i);
            if (j < 0)
                j = n;
            out += text.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && text.at(i + 1) == QLatin1Char('*')) {
            int j = text.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            out += text.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && text.at(i + 1) == QLatin1Char(':')) {
            out += QLatin1String("::");
            i += 2;
        } else if (c == QLatin1Char(':') && i + 1 < n && isIdentStart(text.at(i + 1))) {
            int j = i + 1;
            while (j < n && isIdentChar(text.at(j)))
                ++j;
            const QString name = text.mid(i + 1, j - i - 1);
            if (indexOf(name) < 0)
                r.Names << name;
            r.Order << r.Names[indexOf(name)];
            out += QLatin1Char('?');
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return r;
}

} // namespace

TADOStatement::TADOStatement(TADOConnection* connection, QString name) : Connection(connection), m_name(std::move(name))
{}

TADOStatement::~TADOStatement() = default;

QStringList TADOStatement::ParamNames() const
{
    QStringList names;
    for (const TParameter& p : m_params)
        names << p.Name;
    return names;
}

void TADOStatement::SetSQL(const QString& text)
{
    // The data module sets the same few texts again on every call: each is
    // rewritten once per thread.
    thread_local QHash<QString, TextoPosicional> vistos;
    auto it = vistos.constFind(text);
    if (it == vistos.constEnd()) {
        if (vistos.size() >= 512)
            vistos.clear();
        it = vistos.insert(text, Posicional(text));
    }
    QList<TParameter> params;
    params.reserve(it->Names.size());
    for (const QString& name : it->Names) {
        TParameter p;
        p.Name = name;
        // Keep a value the statement had under the same name (as written
        // first: the case-blind comparison is the dearer one).
        const auto mesmo = [&](Qt::CaseSensitivity cs) {
            for (const TParameter& old : m_params)
                if (old.Name.compare(name, cs) == 0)
                    return &old;
            return static_cast<const TParameter*>(nullptr);
        };
        const TParameter* old = mesmo(Qt::CaseSensitive);
        if (!old)
            old = mesmo(Qt::CaseInsensitive);
        if (old)
            p = TParameter{name, old->Value, old->Assigned};
        params.append(p);
    }
    m_sql = text;
    m_params = params;
    m_positional = it->Positional;
    m_order = it->Order;
}

void TADOStatement::SetParam(const QString& name, const QVariant& value)
{
    const auto assign = [&value](TParameter& p) {
        // Qt binds a null QString as NULL; an empty text stays an empty text.
        if (value.typeId() == QMetaType::QString && value.toString().isNull())
            p.Value = QVariant(QStringLiteral(""));
        else
            p.Value = value;
        p.Assigned = true;
    };
    // The name as written in the text first: the case-blind comparison costs
    // more than the rest of a bind.
    for (TParameter& p : m_params)
        if (p.Name == name) {
            assign(p);
            return;
        }
    for (TParameter& p : m_params) {
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0) {
            assign(p);
            return;
        }
    }
    throw EDatabaseError(QStringLiteral("%1: parâmetro %2 não existe na instrução").arg(m_name, name));
}

QSqlQuery& TADOStatement::Exec() const
{
    if (!Connection || !Connection->Connected())
        throw EDatabaseError(QStringLiteral("%1: a conexão com o banco de dados não está aberta").arg(m_name));
    if (m_sql.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("%1: instrução sem texto").arg(m_name));
    for (const TParameter& p : m_params)
        if (!p.Assigned)
            throw EDatabaseError(QStringLiteral("%1: parâmetro %2 sem valor").arg(m_name, p.Name));

    QSqlQuery& q = Connection->Prepared(m_positional, m_name);
    int position = 0;
    for (const QString& name : m_order) {
        for (const TParameter& p : m_params) {
            if (p.Name == name) {
                // A date-time read back in the machine's zone is stored as local
                // time, like every other, without an offset in SQLite's text.
                if (p.Value.typeId() == QMetaType::QDateTime && p.Value.toDateTime().timeSpec() == Qt::TimeZone
                    && p.Value.toDateTime().timeZone() == QTimeZone::systemTimeZone())
                    q.bindValue(position++, p.Value.toDateTime().toLocalTime());
                else
                    q.bindValue(position++, p.Value);
                break;
            }
        }
    }
    if (!q.exec()) {
        const QSqlError error = q.lastError();
        // Prepared again next time: the failure may have been the plan's
        // (a table changed under it).
        Connection->ForgetPrepared(m_positional);
        RaiseStatementError(m_name, error, Connection->ConnectionString);
    }
    if (ADOTrace())
        ADOTrace()({m_positional, q.boundValues(), true, q.isSelect()});
    return q;
}

void TADOStatement::Completed() const
{
    if (Connection && Connection->OnExecuteComplete)
        Connection->OnExecuteComplete(*Connection, m_name);
}

// --- TADOCommand ---------------------------------------------------------

int TADOCommand::Execute()
{
    QSqlQuery& q = Exec();
    const int rows = q.numRowsAffected();
    q.finish();
    Completed();
    return rows;
}

// --- TDataSetProvider ----------------------------------------------------

QVariant TDataSetProvider::Data()
{
    if (!DataSet)
        throw EDatabaseError(QStringLiteral("%1: falta o provedor de dados ou o pacote de dados").arg(m_name));
    if (DataSet->Active())
        return ToVariant(DataSet->Packet());
    DataSet->Open();
    const TDataPacket packet = DataSet->Packet();
    DataSet->Close();
    return ToVariant(packet);
}
