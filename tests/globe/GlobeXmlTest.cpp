// The XML environment: its text form, damaged documents, and the settings
// of readers and of the projection going through it.

#include "TestGlobe.h"

#include "globe/GlobeMIFReader.h"
#include "globe/GlobeSHPReader.h"
#include "globe/GlobeXml.h"

#include <gtest/gtest.h>

TEST(GlobeXml, ElementsAreWrittenOneALineAndReadBack)
{
    TGlobeXmlDocument doc(QStringLiteral("Environment"));
    TGlobeXmlElement& globe = doc.Root().AddElement(QStringLiteral("Globe"));
    globe.SetAttribute(QStringLiteral("DataDirectory"), QStringLiteral("/data/<maps> & \"more\"/"));
    globe.SetIntAttribute(QStringLiteral("SurfaceColor"), 0xFFFF00);
    globe.AddElement(QStringLiteral("Projection")).SetRealAttribute(QStringLiteral("XRotation"), -12.25);
    globe.AddTextElement(QStringLiteral("Note"), {QStringLiteral("Zwei Zeilen"), QStringLiteral("für später")});
    globe.AddBinaryElement(QStringLiteral("Blob"), QByteArray("\x00\xAB\x7F", 3));
    globe.SetBoolAttribute(QStringLiteral("Visible"), true);

    const QByteArray text = doc.ToText();
    EXPECT_EQ(text, QStringLiteral("<Environment>\n"
                                   " <Globe DataDirectory=\"/data/&lt;maps&gt; &amp; &quot;more&quot;/\" "
                                   "SurfaceColor=\"16776960\" Visible=\"True\">\n"
                                   "  <Projection XRotation=\"-12.25\"/>\n"
                                   "  <Note>\n"
                                   "   Zwei Zeilen\n"
                                   "   für später\n"
                                   "  </Note>\n"
                                   "  <Blob>\n"
                                   "   00AB7F\n"
                                   "  </Blob>\n"
                                   " </Globe>\n"
                                   "</Environment>\n")
                        .toUtf8());

    TGlobeXmlDocument back;
    back.FromText(text);
    TGlobeXmlElement* g = back.Root().Element(QStringLiteral("Globe"));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(back.Root().Name(), QStringLiteral("Environment"));
    EXPECT_EQ(g->Attribute(QStringLiteral("DataDirectory")), QStringLiteral("/data/<maps> & \"more\"/"));
    EXPECT_EQ(g->IntAttribute(QStringLiteral("SurfaceColor"), 0), 0xFFFF00);
    EXPECT_TRUE(g->BoolAttribute(QStringLiteral("Visible"), false));
    EXPECT_EQ(g->IntAttribute(QStringLiteral("Missing"), 7), 7);
    EXPECT_EQ(g->Element(QStringLiteral("Projection"))->RealAttribute(QStringLiteral("XRotation"), 0), -12.25);
    EXPECT_EQ(g->Element(QStringLiteral("Note"))->Text(), QStringList({"Zwei Zeilen", "für später"}));
    EXPECT_EQ(g->Element(QStringLiteral("Blob"))->BinaryData(), QByteArray("\x00\xAB\x7F", 3));
    EXPECT_EQ(back.ToText(), text);
}

TEST(GlobeXml, DamagedDocumentsAreRefusedAndTheOldRootStays)
{
    TGlobeXmlDocument doc(QStringLiteral("Kept"));
    const QByteArray deep = QByteArray("<a>").repeated(100) + QByteArray("</a>").repeated(100);
    for (const QByteArray& bad : {QByteArray("<a><b></a>"), QByteArray(""), QByteArray("<a/><b/>"), deep}) {
        EXPECT_THROW(doc.FromText(bad), EGlobeException) << bad.left(40).constData();
        EXPECT_EQ(doc.Root().Name(), QStringLiteral("Kept"));
    }
    TGlobeXmlDocument hex;
    hex.FromText("<a><b>0G</b><c>ABC</c></a>");
    EXPECT_THROW(hex.Root().Element(QStringLiteral("b"))->BinaryData(), EGlobeException);
    EXPECT_THROW(hex.Root().Element(QStringLiteral("c"))->BinaryData(), EGlobeException);
}

TEST(GlobeXml, ReaderSettingsAndTheViewGoThroughTheEnvironment)
{
    TestGlobe globe;
    auto* shp = new TGlobeSHPReader(globe);
    shp->Name = QStringLiteral("Flüsse");
    shp->SetFilename(QStringLiteral("/maps/rivers.shp"));
    shp->SetTitleColumn(3);
    shp->LongXDivisor = 100;
    shp->LatYShift = -0.5;
    auto* mif = new TGlobeMIFReader(globe);
    mif->SetFilename(QStringLiteral("lakes.mif"));
    mif->TitleColumn = 2;
    mif->MIDDelimiter = QStringLiteral(";");
    globe.Projection().SetXRotation(30);
    globe.Projection().SetYRotation(-45.5);
    globe.Projection().SetScaleFactor(globe.Projection().ScaleFactor() * 2.5);

    TGlobeXmlDocument doc;
    TGlobeXmlElement& root = doc.Root();
    shp->SaveEnvironment(root.AddElement(QStringLiteral("Source")));
    mif->SaveEnvironment(root.AddElement(QStringLiteral("Source")));
    globe.Projection().SaveEnvironment(root.AddElement(QStringLiteral("Projection")));
    TGlobeXmlDocument back;
    back.FromText(doc.ToText());

    TestGlobe other;
    auto* shp2 = new TGlobeSHPReader(other);
    shp2->LoadEnvironment(back.Root().ElementAt(0));
    EXPECT_EQ(back.Root().ElementAt(0).Attribute(QStringLiteral("Class")), QStringLiteral("TGlobeSHPReader"));
    EXPECT_EQ(shp2->Name, QStringLiteral("Flüsse"));
    EXPECT_EQ(shp2->Filename(), QStringLiteral("/maps/rivers.shp"));
    EXPECT_EQ(shp2->TitleColumn(), 3);
    EXPECT_EQ(shp2->LongXDivisor, 100);
    EXPECT_EQ(shp2->LatYDivisor, 1);
    EXPECT_EQ(shp2->LatYShift, -0.5);
    auto* mif2 = new TGlobeMIFReader(other);
    mif2->LoadEnvironment(back.Root().ElementAt(1));
    EXPECT_EQ(mif2->Filename(), QStringLiteral("lakes.mif"));
    EXPECT_EQ(mif2->TitleColumn, 2);
    EXPECT_EQ(mif2->MIDDelimiter, QStringLiteral(";"));

    TGlobeProjection& view = other.Projection();
    view.LoadEnvironment(*back.Root().Element(QStringLiteral("Projection")));
    EXPECT_EQ(view.XRotation(), 30);
    EXPECT_EQ(view.YRotation(), -45.5);
    EXPECT_DOUBLE_EQ(view.ScaleFactor(), globe.Projection().ScaleFactor());
    EXPECT_EQ(view.GetGlobeCenterXY(), globe.Projection().GetGlobeCenterXY());
    EXPECT_EQ(view.ProjectionClass(), globe.Projection().ProjectionClass());
}
