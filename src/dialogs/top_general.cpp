#include "dialogs/top_general.h"

#include "calc/expression.h"
#include "dialogs/optionwidgets.h"
#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/viewtransform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

QLineEdit* numberEdit(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaximumWidth(110);
    return e;
}

// A whole number in [lo, hi] typed in `e`.
bool integerIn(const QLineEdit* e, int lo, int hi, int& out) {
    bool ok = false;
    const int v = e->text().trimmed().toInt(&ok);
    if (!ok || v < lo || v > hi) return false;
    out = v;
    return true;
}

QString numberText(double v) {
    return QString::number(v, 'g', 12);
}

// "Solo valen enteros entre" lo "y" hi.
QString integerRange(int lo, int hi) {
    return text(Msg::OnlyIntegersBetween) + QLatin1Char(' ') + QString::number(lo) +
           QLatin1Char(' ') + text(Msg::AndWord) + QLatin1Char(' ') + QString::number(hi);
}

} // namespace

TOp_general::TOp_general(DialogContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("TOp_general"));
    setWindowTitle(text(Msg::GeneralOptionsCaption));
    const QSize screen = context_.screenSize();
    planeMin_ = planeMinimum(screen.width(), screen.height());
    const int largest = largestButtonSize(screen.height());
    const auto choose = [this](Color& c) { return context_.chooseColour(c); };

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    // ---- general page
    auto* general = new QWidget;
    auto* gForm = new QFormLayout(general);
    Edit1 = numberEdit("Edit1", general);
    Edit2 = numberEdit("Edit2", general);
    Ed_elong_nom = numberEdit("Ed_elong_nom", general);
    Ed_npLG = numberEdit("Ed_npLG", general);
    Ed_npLG->setMaxLength(5);
    Ed_numdec = numberEdit("Ed_numdec", general);
    Ed_pincparam = numberEdit("Ed_pincparam", general);
    using namespace OptionLimits;
    gForm->addRow(text(Msg::PickDistanceLabel),
                  new UpDownField(Edit1, PickDistanceMin, PickDistanceMax, 1, general));
    gForm->addRow(text(Msg::PlaneSizeOptionLabel), Edit2);
    gForm->addRow(text(Msg::LocusPointsLabel),
                  new UpDownField(Ed_npLG, LocusPointsMin, LocusPointsMax, 10, general));
    gForm->addRow(text(Msg::NameDistanceLabel),
                  new UpDownField(Ed_elong_nom, NameDistanceMin, NameDistanceMax, 1, general));
    gForm->addRow(text(Msg::DecimalsLabel),
                  new UpDownField(Ed_numdec, DecimalsMin, DecimalsMax, 1, general));
    gForm->addRow(text(Msg::ParameterStepLabel), Ed_pincparam);
    CB_niit = new QComboBox(general);
    CB_niit->setObjectName(QStringLiteral("CB_niit"));
    CB_niit->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    gForm->addRow(text(Msg::NewIterationsLabel), CB_niit);
    CB_eexpdib = new QComboBox(general);
    CB_eexpdib->setObjectName(QStringLiteral("CB_eexpdib"));
    for (int i = ExportScaleMin; i <= ExportScaleMax; ++i)
        CB_eexpdib->addItem(QString::number(i * 100) + QLatin1Char('%'));
    gForm->addRow(text(Msg::ExportScaleLabel), CB_eexpdib);
    auto* sizes = new QGroupBox(text(Msg::ButtonSizeLabel), general);
    auto* sizeRow = new QHBoxLayout(sizes);
    RB_bp = new QRadioButton(nameText(Name::SmallButtons), sizes);
    RB_bn = new QRadioButton(nameText(Name::NormalButtons), sizes);
    RB_bg = new QRadioButton(nameText(Name::LargeButtons), sizes);
    RB_bp->setObjectName(QStringLiteral("RB_bp"));
    RB_bn->setObjectName(QStringLiteral("RB_bn"));
    RB_bg->setObjectName(QStringLiteral("RB_bg"));
    // Larger buttons are offered only on screens with room for them.
    RB_bn->setEnabled(largest >= ButtonSize::Normal);
    RB_bg->setEnabled(largest >= ButtonSize::Large);
    for (QRadioButton* b : {RB_bp, RB_bn, RB_bg})
        sizeRow->addWidget(b);
    gForm->addRow(sizes);
    PageControl1->addTab(general, text(Msg::PageGeneral));

    // ---- document page
    auto* document = new QWidget;
    auto* dForm = new QFormLayout(document);
    CB_unilong = new QComboBox(document);
    CB_unilong->setObjectName(QStringLiteral("CB_unilong"));
    for (int slot : {Msg::UnitMm, Msg::UnitCm, Msg::UnitM, Msg::UnitKm})
        CB_unilong->addItem(text(slot));
    dForm->addRow(text(Msg::LengthUnitLabel), CB_unilong);
    unidad_angulo = new QComboBox(document);
    unidad_angulo->setObjectName(QStringLiteral("unidad_angulo"));
    for (int slot : {Msg::UnitRad, Msg::UnitDeg, Msg::UnitGra})
        unidad_angulo->addItem(text(slot));
    dForm->addRow(text(Msg::AngleUnitLabel), unidad_angulo);
    Ed_pixl = numberEdit("Ed_pixl", document);
    dForm->addRow(text(Msg::PixelsPerUnit), Ed_pixl);
    Chk_pixuni_zoomod = new QCheckBox(text(Msg::ConstantLengthsZoom), document);
    Chk_pixuni_zoomod->setObjectName(QStringLiteral("Chk_pixuni_zoomod"));
    dForm->addRow(Chk_pixuni_zoomod);
    sistcoord = new QComboBox(document);
    sistcoord->setObjectName(QStringLiteral("sistcoord"));
    sistcoord->addItems({nameText(Name::Rectangular), nameText(Name::Polar)});
    dForm->addRow(text(Msg::CoordinateSystemLabel), sistcoord);
    Lab_colfon = new ColourSwatch(choose, document);
    Lab_col_oc = new ColourSwatch(choose, document);
    Lab_col_sel = new ColourSwatch(choose, document);
    Lab_colfon->setObjectName(QStringLiteral("Lab_colfon"));
    Lab_col_oc->setObjectName(QStringLiteral("Lab_col_oc"));
    Lab_col_sel->setObjectName(QStringLiteral("Lab_col_sel"));
    dForm->addRow(text(Msg::BackgroundColour), Lab_colfon);
    dForm->addRow(text(Msg::HiddenColour), Lab_col_oc);
    dForm->addRow(text(Msg::SelectedColour), Lab_col_sel);
    auto* assign = new QHBoxLayout;
    Ed_asiglon = numberEdit("Ed_asiglon", document);
    But_asiglon = new QPushButton(text(Msg::AssignLength), document);
    But_asiglon->setObjectName(QStringLiteral("But_asiglon"));
    assign->addWidget(But_asiglon);
    assign->addWidget(Ed_asiglon);
    assign->addStretch(1);
    dForm->addRow(assign);
    PageControl1->addTab(document, text(Msg::PageDocument));

    // ---- other page
    auto* other = new QWidget;
    auto* oBox = new QVBoxLayout(other);
    const auto check = [&](QCheckBox*& box, const char* name, int slot) {
        box = new QCheckBox(text(slot), other);
        box->setObjectName(QLatin1String(name));
        oBox->addWidget(box);
    };
    check(O_efin_mac, "O_efin_mac", Msg::HideMacroIntermediates);
    check(Chk_ntdirhor, "Chk_ntdirhor", Msg::HorizontalTables);
    check(chb_inipp, "chb_inipp", Msg::ReplayFromLast);
    check(Adap_col_det, "Adap_col_det", Msg::AdaptCursorColour);
    check(Marc_cenrot, "Marc_cenrot", Msg::MarkRotationCentre);
    oBox->addStretch(1);
    PageControl1->addTab(other, text(Msg::PageOther));

    QHBoxLayout* buttons = okCancelRow(*this, B_OK, B_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);

    connect(B_OK, &QPushButton::clicked, this, &TOp_general::B_OKClick);
    connect(But_asiglon, &QPushButton::clicked, this, &TOp_general::But_asiglonClick);
    fillFromOptions();
}

void TOp_general::fillFromOptions() {
    const ProgramOptions& o = context_.programOptions();
    const Document& doc = context_.document();
    Edit1->setText(QString::number(o.pickDistance));
    Edit2->setText(QString::number(std::lround(std::max(o.planeSize, planeMin_))));
    Ed_npLG->setText(QString::number(o.locusPoints));
    Ed_elong_nom->setText(QString::number(o.nameDistance));
    Ed_numdec->setText(QString::number(o.decimals));
    Ed_pincparam->setText(numberText(o.parameterStep));
    CB_niit->setCurrentIndex(std::clamp(o.iterations, 1, 3) - 1);
    CB_eexpdib->setCurrentIndex(std::clamp(o.exportScale, 1, 8) - 1);
    QRadioButton* size[] = {RB_bp, RB_bn, RB_bg};
    size[std::clamp(o.buttonSize, 0, 2)]->setChecked(true);
    CB_unilong->setCurrentIndex(std::clamp(doc.lengthUnit, 0, 3));
    unidad_angulo->setCurrentIndex(std::clamp(doc.angleUnit, 0, 2));
    pixelsAtOpening_ = doc.pixelsPerUnit;
    Ed_pixl->setText(numberText(doc.pixelsPerUnit));
    Chk_pixuni_zoomod->setChecked(doc.constantLengthsWithZoom != 0);
    sistcoord->setCurrentIndex(std::clamp(doc.coordinateSystem, 0, 1));
    Lab_colfon->setColour(doc.background);
    Lab_col_oc->setColour(doc.hiddenColor);
    Lab_col_sel->setColour(doc.selectedColor);
    O_efin_mac->setChecked(o.hideMacroIntermediates != 0);
    Chk_ntdirhor->setChecked(o.horizontalTables != 0);
    chb_inipp->setChecked(o.stepByStepFromLast != 0);
    Adap_col_det->setChecked(o.adaptCursorColour != 0);
    Marc_cenrot->setChecked(o.markRotationCentre != 0);
}

bool TOp_general::refuse(QLineEdit* field, int page, int labelSlot, const QString& message) {
    PageControl1->setCurrentIndex(page);
    context_.warn(message, text(labelSlot));
    field->setFocus();
    field->selectAll();
    return false;
}

bool TOp_general::validate() {
    using namespace OptionLimits;
    if (!integerIn(Edit1, PickDistanceMin, PickDistanceMax, pick_))
        return refuse(Edit1, GeneralPage, Msg::PickDistanceLabel, text(Msg::OnlyIntegers2And20));
    const int m = int(planeMin_);
    if (!integerIn(Edit2, m, m + 20000, plane_))
        return refuse(Edit2, GeneralPage, Msg::PlaneSizeOptionLabel, integerRange(m, m + 20000));
    if (!integerIn(Ed_npLG, LocusPointsMin, LocusPointsMax, locus_))
        return refuse(Ed_npLG, GeneralPage, Msg::LocusPointsLabel,
                      text(Msg::OnlyIntegers10And) + QLatin1Char(' ') +
                          QString::number(LocusPointsMax));
    if (!integerIn(Ed_elong_nom, NameDistanceMin, NameDistanceMax, name_))
        return refuse(Ed_elong_nom, GeneralPage, Msg::NameDistanceLabel,
                      text(Msg::OnlyIntegers20And100));
    if (!integerIn(Ed_numdec, DecimalsMin, DecimalsMax, decimals_))
        return refuse(Ed_numdec, GeneralPage, Msg::DecimalsLabel,
                      integerRange(DecimalsMin, DecimalsMax));
    const Document& doc = context_.document();
    const std::optional<double> ppu =
        evaluateNumberText(Ed_pixl->text().toStdString(), doc.angleUnit);
    if (!ppu || !std::isfinite(*ppu) || *ppu <= 0 || *ppu > PixelsPerUnitMax)
        return refuse(Ed_pixl, DocumentPage, Msg::PixelsPerUnit, text(Msg::OnlyReal0And1000));
    // The text as it was shown keeps the exact value.
    pixels_ = Ed_pixl->text() == numberText(pixelsAtOpening_) ? pixelsAtOpening_ : *ppu;
    return true;
}

void TOp_general::apply() {
    ProgramOptions& o = context_.programOptions();
    Document& doc = context_.document();
    if (pixels_ != pixelsAtOpening_) context_.recordUndoStep();

    o.pickDistance = pick_;
    o.planeSize = std::max(double(plane_), planeMin_);
    o.locusPoints = locus_;
    o.nameDistance = name_;
    o.decimals = decimals_;
    const std::optional<double> step =
        evaluateNumberText(Ed_pincparam->text().toStdString(), doc.angleUnit);
    if (step && std::isfinite(*step) && *step != 0) o.parameterStep = std::fabs(*step);
    o.iterations = CB_niit->currentIndex() + 1;
    o.exportScale = CB_eexpdib->currentIndex() + 1;
    const int32_t size = RB_bg->isChecked()   ? ButtonSize::Large
                         : RB_bn->isChecked() ? ButtonSize::Normal
                                              : ButtonSize::Small;
    const bool toolBarsChanged = size != o.buttonSize;
    o.buttonSize = size;
    o.hideMacroIntermediates = O_efin_mac->isChecked() ? 1 : 0;
    o.horizontalTables = Chk_ntdirhor->isChecked() ? 1 : 0;
    o.stepByStepFromLast = chb_inipp->isChecked() ? 1 : 0;
    o.adaptCursorColour = Adap_col_det->isChecked() ? 1 : 0;
    o.markRotationCentre = Marc_cenrot->isChecked() ? 1 : 0;

    const int32_t unit = CB_unilong->currentIndex();
    const int32_t angle = unidad_angulo->currentIndex();
    const int32_t constant = Chk_pixuni_zoomod->isChecked() ? 1 : 0;
    const int32_t system = sistcoord->currentIndex();
    const bool changed = pixels_ != doc.pixelsPerUnit || constant != doc.constantLengthsWithZoom ||
                         unit != doc.lengthUnit || angle != doc.angleUnit ||
                         system != doc.coordinateSystem || Lab_colfon->colour() != doc.background ||
                         Lab_col_oc->colour() != doc.hiddenColor ||
                         Lab_col_sel->colour() != doc.selectedColor;
    doc.pixelsPerUnit = pixels_;
    doc.constantLengthsWithZoom = constant;
    doc.lengthUnit = unit;
    doc.angleUnit = angle;
    doc.coordinateSystem = system;
    doc.background = Lab_colfon->colour();
    doc.hiddenColor = Lab_col_oc->colour();
    doc.selectedColor = Lab_col_sel->colour();
    if (changed) doc.modified = 1;
    emit optionsChanged(toolBarsChanged);
}

bool TOp_general::B_OKClick() {
    if (!validate()) return false;
    apply();
    accept();
    return true;
}

bool TOp_general::But_asiglonClick() {
    if (!validate()) return false;
    const std::optional<double> target =
        evaluateNumberText(Ed_asiglon->text().toStdString(), context_.document().angleUnit);
    if (!target || !std::isfinite(*target) || *target <= 0)
        return refuse(Ed_asiglon, DocumentPage, Msg::AssignLength, text(Msg::InvalidExpression));
    apply();
    accept();
    emit lengthAssignmentAsked(*target);
    return true;
}

} // namespace qorv
