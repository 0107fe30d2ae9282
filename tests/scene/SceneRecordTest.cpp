#include "RefNode.h"
#include "core/instances/SceneTagReader.h"
#include "core/instances/SceneTagWriter.h"
#include "instances/InstanceFixture.h"
#include "util/DataChunk.h"

#include <cstring>

namespace qvn::test {
namespace {

using mvk::util::xml::Element;
using SceneRecordTest = InstanceFixture;

CMesh triangle() {
    static double vertex[] = {0, 0, 0, 1, 0, 0, 0, 1, 0.5};
    static double texcoord[] = {0, 0, 0};
    static int32_t face[] = {0, 1, 2};
    CMesh mesh;
    mesh.numVertexes = 3;
    mesh.numTexCoords = 1;
    mesh.numFaces = 1;
    mesh.vertex = vertex;
    mesh.texcoord = texcoord;
    mesh.face = face;
    return mesh;
}

TEST(SceneMeshTest, TheBinaryMeshRecordReadsBackAndDamageIsRefused) {
    const CMesh mesh = triangle();
    const Element record = SceneTagWriter::meshRecord(mesh);
    EXPECT_EQ(record.name(), "CMesh");
    const mvk::util::DataChunk bytes = mvk::util::DataChunk::base64Decode(record.text());
    const std::string message(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    EXPECT_EQ(message, SceneTagWriter::meshMessage(mesh));
    // 8 entries of two lengths each, their names, and 16 + 72 + 24 + 12 value bytes.
    EXPECT_EQ(message.size(), 8u * 8 + 63 + 16 + 72 + 24 + 12);

    CMesh read;
    ASSERT_TRUE(SceneTagReader::readMeshMessage(message, read));
    EXPECT_EQ(SceneTagWriter::meshMessage(read), message);
    EXPECT_EQ(read.tface, nullptr);
    delete[] read.vertex;
    delete[] read.texcoord;
    delete[] read.face;

    CMesh untouched;
    for (size_t cut : {size_t{1}, size_t{10}, message.size() - 1})
        EXPECT_FALSE(SceneTagReader::readMeshMessage(message.substr(0, cut), untouched));
    // A count that claims more values than the message holds.
    std::string lying = message;
    lying[4 + 11 + 4] = 100;
    EXPECT_FALSE(SceneTagReader::readMeshMessage(lying, untouched));
    EXPECT_EQ(untouched.vertex, nullptr);

    const Element text = SceneTagWriter::meshTextRecord(mesh);
    EXPECT_EQ(text.child("vertexdata").child("vertex").text(), "0,0,0,1,0,0,0,1,0.5");
}

TEST_F(SceneRecordTest, NodeRecordsDescribeLensParentsAndVisibility) {
    Instance* cam = make("Cam");
    Instance* other = make("Dolly");
    auto* body = host.scene.find("Cam_01_body");
    auto* lens = host.scene.createNode("Cam_01_lens", static_cast<CInterface*>(cam));
    lens->setLens(47.5);
    lens->setVisible(false);
    body->addChild(lens);
    host.scene.find("Dolly_01_body")->addChild(body);
    auto* stray = host.scene.createNode("stray");
    stray->addChild(host.scene.find("Dolly_01_body"));

    const Element record = SceneTagWriter::nodeRecord(*cam);
    ASSERT_EQ(record.childCount("node"), 2);
    const Element& first = record.child("node", 0);
    EXPECT_EQ(first.attribute("name"), "body");
    EXPECT_FALSE(first.hasAttribute("type"));
    EXPECT_EQ(first.child("parent").attribute("external"), "Dolly_01");
    EXPECT_EQ(first.child("parent").text(), "body");
    EXPECT_EQ(first.child("visible").text(), "true");

    const Element& second = record.child("node", 1);
    EXPECT_EQ(second.attribute("type"), "camera");
    EXPECT_EQ(second.child("fov").text(), "47.5");
    EXPECT_EQ(second.child("visible").text(), "false");

    // A parent that no instance owns is left out and logged.
    const Element dolly = SceneTagWriter::nodeRecord(*other);
    EXPECT_EQ(dolly.child("node").childCount("parent"), 0);
    EXPECT_NE(log().find("The specified node's parent is not included in the list"),
              std::string::npos);
}

} // namespace
} // namespace qvn::test
