#include "report.h"
#include "waitcursor.h"

#include "dbgridmodel.h"
#include "keltrin.h"
#include "pubunit.h"
#include "session.h"
#include "ureportdesigner.h"
#include "ureportpreview.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImageReader>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringDecoder>
#include <QTextDocument>
#include <QTextFrame>
#include <algorithm>
#include <cmath>
#include <kainjow/mustache.hpp>
#include <map>
#include <optional>

namespace mu = kainjow::mustache;

namespace {

QString g_folder;
ReportDialogRunner g_runner;

const QString kMemoDate = QStringLiteral("memoDate");
const QString kCompanyVar = QStringLiteral("sCurKHname");
const QString kDateVar = QStringLiteral("Date");

bool sameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::string key(const QString &name) {
    return name.toLower().toStdString();
}

// Shortest text of a number: at most six decimals, no trailing zeros.
QString numberText(double v) {
    if (!std::isfinite(v))
        return QString();
    QString s = QString::number(v, 'f', 6);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

// True for date or timestamp text before 1901-08-14 (the stored empty date and older).
bool isEmptyDateText(const QString &s) {
    static const QRegularExpression re(
        QStringLiteral(R"(^\d{4}-\d{2}-\d{2}([ T]\d{2}:\d{2}(:\d{2}(\.\d+)?)?)?$)"));
    return re.match(s).hasMatch() && s.left(10) < QLatin1String("1901-08-14");
}

// Field and variable values: empty text is "false" so that a section over it is skipped.
mu::data textData(const QString &text) {
    if (text.isEmpty())
        return mu::data(false);
    return mu::data(text.toStdString());
}

// HTML escaping of every {{value}}; line breaks of memo texts become <br/>.
std::string escapeHtml(const std::string &s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (const char ch : s) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        case '\n':
            out += "<br/>";
            break;
        case '\r':
            break;
        default:
            out += ch;
        }
    }
    return out;
}

// What one rendering needs beyond the template: the data, the window's answers, the variables
// already asked and the first fault a template function met.
struct RenderState {
    const ReportData *data = nullptr;
    ReportValues values;
    QString error;
    std::map<std::string, mu::data> variables;
};

// Name lookup for the template: row fields, data sets and functions without regard to case,
// then the window's variables, each asked once per rendering.
class ReportContext : public mu::basic_context<std::string> {
public:
    ReportContext(const mu::data *root, RenderState *state) : m_state(state) { m_items.push_back(root); }

    void push(const mu::data *d) override { m_items.insert(m_items.begin(), d); }
    void pop() override { m_items.erase(m_items.begin()); }

    const mu::data *get(const std::string &name) const override {
        if (name == ".")
            return m_items.front();
        const QString qname = QString::fromStdString(name);
        const QStringList parts = qname.toLower().split(QLatin1Char('.'));
        for (const mu::data *item : m_items) {
            const mu::data *var = item;
            for (const QString &p : parts) {
                var = var->get(p.toStdString());
                if (!var)
                    break;
            }
            if (var)
                return var;
        }
        return parts.size() == 1 ? variable(qname) : nullptr;
    }

    const mu::data *get_partial(const std::string &) const override { return nullptr; }

private:
    const mu::data *variable(const QString &name) const {
        const std::string k = key(name);
        auto it = m_state->variables.find(k);
        if (it == m_state->variables.end()) {
            const QVariant v = reportVariable(m_state->values, name);
            it = m_state->variables
                     .emplace(k,
                              v.isValid() ? textData(reportValueText(v)) : mu::data(mu::data::type::invalid))
                     .first;
        }
        return it->second.is_invalid() ? nullptr : &it->second;
    }

    std::vector<const mu::data *> m_items;
    RenderState *m_state;
};

// A section function that renders its inner text and passes it through fn.
mu::data textFunction(std::function<QString(const QString &)> fn) {
    return mu::data(mu::lambda2{[fn](const std::string &text, const mu::renderer &render) {
        return fn(QString::fromStdString(render(text)).trimmed()).toStdString();
    }});
}

// A number written by a template ("1,234.50") or nothing when the text is not one.
std::optional<double> parseNumber(const QString &text) {
    bool ok = false;
    const double v = QString(text).remove(QLatin1Char(',')).toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

mu::data formatFunction(const QString &pattern) {
    return textFunction([pattern](const QString &s) {
        const auto v = parseNumber(s);
        return v ? FormatFloat(pattern, *v) : s;
    });
}

const ReportDataSet *setOrMain(const RenderState *state, const QString &name) {
    return state->data->find(name.isEmpty() ? QString::fromLatin1(kReportMainSet) : name);
}

mu::data buildRoot(const ReportData &data, RenderState *state) {
    mu::data root{mu::data::type::object};
    for (const ReportDataSet &set : data.sets()) {
        std::vector<std::string> cols;
        cols.reserve(set.columns.size());
        for (const QString &c : set.columns)
            cols.push_back(key(c));
        mu::data list{mu::data::type::list};
        for (int r = 0; r < set.rows.size(); ++r) {
            const QVariantList &values = set.rows.at(r);
            mu::data row{mu::data::type::object};
            for (size_t c = 0; c < cols.size(); ++c) {
                const QVariant &v = values.value(int(c));
                row.set(cols[c], textData(reportValueText(v)));
                // a picture is offered beside its field as a data URI for <img src="...">
                if (v.typeId() == QMetaType::QByteArray)
                    row.set(cols[c] + "_image", textData(reportImageUri(v.toByteArray())));
            }
            row.set("_line", mu::data(std::to_string(r + 1)));
            row.set("_first", mu::data(r == 0));
            row.set("_last", mu::data(r == set.rows.size() - 1));
            list.push_back(row);
        }
        root[key(set.name)] = std::move(list);
    }

    root["moneymintobig"] = textFunction([](const QString &s) {
        const auto v = parseNumber(s);
        return v ? MoneyMinToBig(*v) : s;
    });
    root["fmttotal"] = formatFunction(session().FmtTotal);
    root["fmtprice"] = formatFunction(session().FmtPrice);
    root["fmtamount"] = formatFunction(session().FmtAmount);
    root["sum"] = textFunction([state](const QString &s) {
        const int dot = s.indexOf(QLatin1Char('.'));
        const QString setName = dot < 0 ? QString() : s.left(dot).trimmed();
        const QString field = (dot < 0 ? s : s.mid(dot + 1)).trimmed();
        const ReportDataSet *set = setOrMain(state, setName);
        // a set the window did not hand over sums to 0; a field its columns lack is a fault
        if (!set || set->columns.isEmpty())
            return QStringLiteral("0");
        const int idx = set->columnIndex(field);
        if (idx < 0) {
            if (state->error.isEmpty())
                state->error = QStringLiteral("Sum：数据集 %1 没有字段 %2").arg(set->name, field);
            return QString();
        }
        double total = 0;
        for (const QVariantList &row : set->rows)
            total += row.value(idx).toDouble();
        return numberText(RoundMoney(total));
    });
    root["count"] = textFunction([state](const QString &s) {
        const ReportDataSet *set = setOrMain(state, s);
        return QString::number(set ? set->rowCount() : 0);
    });
    return root;
}

// The template engine's fault in the words of the designer, with the line it is on.
QString describeFault(const std::string &message, const std::string &source) {
    const QString msg = QString::fromStdString(message);
    static const QRegularExpression re(QStringLiteral(R"(^(.*) at (\d+)$)"));
    const auto m = re.match(msg);
    if (!m.hasMatch())
        return msg;
    const size_t offset = std::min<size_t>(m.captured(2).toULongLong(), source.size());
    const int line = int(std::count(source.begin(), source.begin() + long(offset), '\n')) + 1;
    const QString what = m.captured(1);
    static const QRegularExpression section(QStringLiteral(R"re(^(Unclosed|Unopened) section "(.*)"$)re"));
    const auto s = section.match(what);
    QString text;
    if (s.hasMatch() && s.captured(1) == QLatin1String("Unclosed"))
        text = QStringLiteral("段落 {{#%1}} 没有结束标记 {{/%1}}").arg(s.captured(2));
    else if (s.hasMatch())
        text = QStringLiteral("结束标记 {{/%1}} 没有对应的开始标记").arg(s.captured(2));
    else if (what == QLatin1String("Unclosed tag"))
        text = QStringLiteral("标记缺少结束的 }}");
    else if (what == QLatin1String("Invalid set delimiter tag"))
        text = QStringLiteral("分隔符标记无效");
    else
        text = what;
    return QStringLiteral("%1（第 %2 行）").arg(text).arg(line);
}

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// data sets

ReportDataSet ReportDataSet::fromQuery(QSqlQuery &query, const QString &name) {
    ReportDataSet set;
    set.name = name;
    const QSqlRecord rec = query.record();
    for (int i = 0; i < rec.count(); ++i)
        set.columns << rec.fieldName(i);
    if (!query.isActive() || !query.isSelect())
        return set;
    const int n = rec.count();
    auto take = [&] {
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row << query.value(i);
        set.rows << row;
    };
    if (query.at() == QSql::BeforeFirstRow) {
        while (query.next())
            take();
    } else if (!query.isForwardOnly() && query.first()) {
        do
            take();
        while (query.next());
    } else if (query.isValid()) {
        // a forward-only query already read from: its earlier rows are gone
        do
            take();
        while (query.next());
    }
    return set;
}

ReportDataSet ReportDataSet::fromMaps(const QList<QVariantMap> &rows, const QStringList &columns,
                                      const QString &name) {
    ReportDataSet set;
    set.name = name;
    set.columns = columns;
    if (set.columns.isEmpty()) {
        for (const QVariantMap &m : rows)
            for (auto it = m.cbegin(); it != m.cend(); ++it)
                if (!set.columns.contains(it.key()))
                    set.columns << it.key();
    }
    for (const QVariantMap &m : rows) {
        QVariantList row;
        for (const QString &c : set.columns)
            row << m.value(c);
        set.rows << row;
    }
    return set;
}

ReportDataSet ReportDataSet::fromModel(DBGridModel &model, const QString &name) {
    ReportDataSet set;
    set.name = name;
    model.fetchAll();
    set.columns = model.fieldNames();
    for (int r = 0; r < model.rowCount(); ++r) {
        QVariantList row;
        for (const QString &f : set.columns)
            row << model.value(r, f);
        set.rows << row;
    }
    return set;
}

int ReportDataSet::columnIndex(const QString &column) const {
    for (int i = 0; i < columns.size(); ++i)
        if (sameName(columns.at(i), column))
            return i;
    return -1;
}

ReportData::ReportData(const ReportDataSet &main) {
    ReportDataSet set = main;
    if (set.name.isEmpty())
        set.name = QString::fromLatin1(kReportMainSet);
    add(set);
}

ReportData &ReportData::add(const ReportDataSet &set) {
    for (int i = 0; i < m_sets.size(); ++i) {
        if (sameName(m_sets.at(i).name, set.name)) {
            m_sets[i] = set;
            return *this;
        }
    }
    if (sameName(set.name, QString::fromLatin1(kReportMainSet)))
        m_sets.prepend(set);
    else
        m_sets.append(set);
    return *this;
}

const ReportDataSet *ReportData::find(const QString &name) const {
    for (const ReportDataSet &s : m_sets)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

int ReportData::mainRowCount() const {
    const ReportDataSet *main = find(QString::fromLatin1(kReportMainSet));
    return main ? main->rowCount() : 0;
}

// ---------------------------------------------------------------------------------------------
// variables and values

QStringList reportVariableNames(const QStringList &windowVariables) {
    QStringList names{kMemoDate, kCompanyVar};
    for (const QString &n : windowVariables) {
        const QString t = n.trimmed();
        if (t.isEmpty())
            continue;
        bool seen = false;
        for (const QString &have : names)
            seen = seen || sameName(have, t);
        if (!seen)
            names << t;
    }
    return names;
}

QVariant reportVariable(const ReportValues &values, const QString &name) {
    // the two shared variables reach the window in their usual spelling
    QString asked = name;
    if (sameName(name, kMemoDate))
        asked = kMemoDate;
    else if (sameName(name, kCompanyVar))
        asked = kCompanyVar;
    if (values) {
        const QVariant v = values(asked);
        if (v.isValid())
            return v;
    }
    if (asked == kCompanyVar)
        return session().CompanyName;
    if (asked == kMemoDate)
        return QString();
    if (sameName(name, kDateVar))
        return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    return QVariant();
}

QString reportImageUri(const QByteArray &bytes) {
    if (bytes.isEmpty())
        return QString();
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray format = QImageReader::imageFormat(&buffer);
    if (format.isEmpty())
        return QString();
    return QStringLiteral("data:image/%1;base64,").arg(QString::fromLatin1(format)) +
           QString::fromLatin1(bytes.toBase64());
}

QString reportValueText(const QVariant &value) {
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(value.toDouble());
    case QMetaType::QDate: {
        const QDate d = value.toDate();
        return d < QDate(1901, 8, 14) ? QString() : d.toString(QStringLiteral("yyyy-MM-dd"));
    }
    case QMetaType::QDateTime: {
        const QDateTime d = value.toDateTime();
        return d.date() < QDate(1901, 8, 14) ? QString() : d.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    case QMetaType::QByteArray:
        return QString(); // pictures are not printed as text
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        break;
    }
    const QString s = value.toString();
    return isEmptyDateText(s) ? QString() : s;
}

// ---------------------------------------------------------------------------------------------
// template files

QString reportFolder() {
    if (!g_folder.isEmpty())
        return g_folder;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Qr"));
}

void setReportFolder(const QString &dir) {
    g_folder = dir;
}

QString reportTemplatePath(const QString &templateName) {
    QString file = templateName.trimmed();
    const int slash = qMax(file.lastIndexOf(QLatin1Char('/')), file.lastIndexOf(QLatin1Char('\\')));
    if (slash >= 0)
        file = file.mid(slash + 1);
    if (!file.endsWith(QLatin1String(".fr3"), Qt::CaseInsensitive))
        file += QLatin1String(".fr3");
    const QDir dir(reportFolder());
    if (QFileInfo::exists(dir.filePath(file)))
        return dir.filePath(file);
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString &entry : entries)
        if (sameName(entry, file))
            return dir.filePath(entry);
    return dir.filePath(file);
}

QString reportSkeleton() {
    return QStringLiteral("<html>\n"
                          "<head>\n"
                          "<meta name=\"page-size\" content=\"A4\">\n"
                          "<meta name=\"page-orientation\" content=\"portrait\">\n"
                          "<meta name=\"page-margins\" content=\"10\">\n"
                          "</head>\n"
                          "<body>\n"
                          "<h2 align=\"center\">{{sCurKHname}}</h2>\n"
                          "<p>{{memoDate}}</p>\n"
                          "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
                          "<thead><tr><th>序号</th></tr></thead>\n"
                          "{{#frxDM}}\n"
                          "<tr><td>{{_line}}</td></tr>\n"
                          "{{/frxDM}}\n"
                          "</table>\n"
                          "<p align=\"right\">打印日期：{{Date}}</p>\n"
                          "</body>\n"
                          "</html>\n");
}

bool readReportTemplate(const QString &path, QString *text, QString *error) {
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QFileInfo fi(path);
    if (!fi.exists())
        return fail(QStringLiteral("报表模板文件不存在：%1").arg(native(path)));
    QFile f(path);
    if (!fi.isFile() || !f.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("报表模板文件无法读取：%1\n%2").arg(native(path), f.errorString()));
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return fail(QStringLiteral("报表模板文件无法读取：%1\n%2").arg(native(path), f.errorString()));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder(bytes);
    if (decoder.hasError())
        return fail(QStringLiteral("报表模板文件不是 UTF-8 文本：%1").arg(native(path)));
    if (decoded.contains(QLatin1String("<TfrxReport")))
        return fail(QStringLiteral("报表模板文件是其他报表程序的格式，本程序无法使用：%1\n"
                                   "请删除该文件后在报表设计中重新设计。")
                        .arg(native(path)));
    if (text)
        *text = decoded;
    return true;
}

QString renderReportText(const QString &templateText, const ReportData &data, const ReportValues &values,
                         QString *error) {
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return QString();
    };
    if (error)
        error->clear();
    const std::string source = templateText.toStdString();
    mu::mustache tmpl{source};
    if (!tmpl.is_valid())
        return fail(describeFault(tmpl.error_message(), source));
    tmpl.set_custom_escape(escapeHtml);
    RenderState state;
    state.data = &data;
    state.values = values;
    const mu::data root = buildRoot(data, &state);
    ReportContext ctx(&root, &state);
    const std::string out = tmpl.render(ctx);
    if (!tmpl.is_valid())
        return fail(describeFault(tmpl.error_message(), source));
    if (!state.error.isEmpty())
        return fail(state.error);
    return QString::fromStdString(out);
}

QString renderReport(const QString &templatePath, const ReportData &data, const ReportValues &values,
                     QString *error) {
    QString text;
    if (!readReportTemplate(templatePath, &text, error))
        return QString();
    QString why;
    const QString html = renderReportText(text, data, values, &why);
    if (!why.isEmpty()) {
        if (error)
            *error = QStringLiteral("报表模板有错误：%1\n%2").arg(native(templatePath), why);
        return QString();
    }
    if (error)
        error->clear();
    return html;
}

// ---------------------------------------------------------------------------------------------
// layout, PDF

QPageLayout reportPageLayout(const QString &html) {
    QPageSize size(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins(10, 10, 10, 10);

    static const QRegularExpression metaRe(QStringLiteral(R"(<meta\b[^>]*>)"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression attrRe(
        QStringLiteral(R"re(\b(name|content)\s*=\s*(?:"([^"]*)"|'([^']*)'))re"),
        QRegularExpression::CaseInsensitiveOption);
    auto metas = metaRe.globalMatch(html);
    while (metas.hasNext()) {
        const QString tag = metas.next().captured(0);
        QString name, content;
        auto attrs = attrRe.globalMatch(tag);
        while (attrs.hasNext()) {
            const auto a = attrs.next();
            const QString value = a.captured(2).isNull() ? a.captured(3) : a.captured(2);
            if (sameName(a.captured(1), QStringLiteral("name")))
                name = value.trimmed().toLower();
            else
                content = value.trimmed();
        }
        if (name == QLatin1String("page-size")) {
            static const QList<std::pair<QString, QPageSize::PageSizeId>> sizes = {
                {QStringLiteral("A3"), QPageSize::A3},       {QStringLiteral("A4"), QPageSize::A4},
                {QStringLiteral("A5"), QPageSize::A5},       {QStringLiteral("B4"), QPageSize::B4},
                {QStringLiteral("B5"), QPageSize::B5},       {QStringLiteral("Letter"), QPageSize::Letter},
                {QStringLiteral("Legal"), QPageSize::Legal},
            };
            for (const auto &s : sizes)
                if (sameName(s.first, content))
                    size = QPageSize(s.second);
        } else if (name == QLatin1String("page-orientation")) {
            if (sameName(content, QStringLiteral("landscape")))
                orientation = QPageLayout::Landscape;
            else if (sameName(content, QStringLiteral("portrait")))
                orientation = QPageLayout::Portrait;
        } else if (name == QLatin1String("page-margins")) {
            QList<double> mm;
            for (const QString &part :
                 content.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts)) {
                bool ok = false;
                const double v = part.toDouble(&ok);
                if (!ok || v < 0 || v > 100) {
                    mm.clear();
                    break;
                }
                mm << v;
            }
            if (mm.size() == 1)
                margins = QMarginsF(mm[0], mm[0], mm[0], mm[0]);
            else if (mm.size() == 4) // top right bottom left, as in CSS
                margins = QMarginsF(mm[3], mm[0], mm[1], mm[2]);
        }
    }
    return QPageLayout(size, orientation, margins, QPageLayout::Millimeter);
}

QFont reportFont() {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(10);
    return font;
}

void setReportDocument(QTextDocument *doc, const QString &html) {
    doc->setDefaultFont(reportFont());
    doc->setHtml(html);
}

void paintReportPages(const QString &html, QPagedPaintDevice *device) {
    QPainter painter(device);
    if (!painter.isActive())
        return;
    const int dpi = device->logicalDpiY();
    const QSizeF body = device->pageLayout().paintRectPixels(dpi).size();
    const qreal footer = 8.0 / 25.4 * dpi; // room for the page number

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(device);
    setReportDocument(&doc, html);
    QTextFrameFormat root = doc.rootFrame()->frameFormat();
    root.setMargin(0);
    doc.rootFrame()->setFrameFormat(root);
    const qreal pageHeight = body.height() - footer;
    doc.setPageSize(QSizeF(body.width(), pageHeight));
    const int pages = doc.pageCount();

    int first = 1;
    int last = pages;
    if (auto *printer = dynamic_cast<QPrinter *>(device)) {
        if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
            first = qMax(1, printer->fromPage());
            last = qMin(pages, printer->toPage() > 0 ? printer->toPage() : pages);
        }
    }
    QFont footerFont(doc.defaultFont(), device);
    footerFont.setPointSizeF(9);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device->newPage();
        const QRectF view(0, (page - 1) * pageHeight, body.width(), pageHeight);
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        ctx.clip = view;
        doc.documentLayout()->draw(&painter, ctx);
        painter.restore();
        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, pageHeight, body.width(), footer), Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("第 %1 页 共 %2 页").arg(page).arg(pages));
    }
}

bool exportReportPdf(const QString &html, const QString &fileName, QString *error) {
    auto fail = [error, &fileName](const QString &why) {
        if (error)
            *error = QStringLiteral("PDF 文件写入失败：%1\n%2").arg(native(fileName), why);
        return false;
    };
    const QFileInfo fi(fileName);
    if (fileName.trimmed().isEmpty() || fi.isDir())
        return fail(QStringLiteral("文件名无效"));
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly))
        return fail(out.errorString());
    {
        QPdfWriter writer(&out);
        writer.setPageLayout(reportPageLayout(html));
        writer.setResolution(300);
        writer.setTitle(fi.completeBaseName());
        paintReportPages(html, &writer);
    }
    if (!out.commit())
        return fail(out.errorString());
    if (error)
        error->clear();
    return true;
}

// ---------------------------------------------------------------------------------------------
// preview and designer

void setReportDialogRunner(ReportDialogRunner runner) {
    g_runner = std::move(runner);
}

void runReportDialog(QDialog *dialog) {
    if (g_runner)
        g_runner(dialog);
    else
        dialog->exec();
}

void PrintReport(const QString &templateName, const ReportData &data, const ReportValues &values,
                 QWidget *parent) {
    if (data.mainRowCount() == 0)
        return;
    WaitCursor wait;
    const QString path = reportTemplatePath(templateName);
    QString error;
    const QString html = renderReport(path, data, values, &error);
    wait.release();
    if (!error.isEmpty()) {
        ShowMess(error, 3);
        return;
    }
    TfrmReportPreview preview(path, html, parent);
    DispFormPos(&preview, 2);
    runReportDialog(&preview);
}

void DesignReport(const QString &templateName, const ReportData &data, const ReportValues &values,
                  QWidget *parent, const QStringList &windowVariables) {
    const QString path = reportTemplatePath(templateName);
    TfrmReportDesigner designer(path, data, values, windowVariables, parent);
    if (!designer.load())
        return;
    DispFormPos(&designer, 2);
    runReportDialog(&designer);
}
