<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="30">
  <colour name="Black" reserved="1"/>
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Title">川口製粉所の手引き</p>
    <p unique="2" format="Heading1" autonumber="1&#9;">水路の管理</p>
    <p unique="3" format="Body">毎年春になると、粉屋は水門を開ける前に用水路の全長を歩いて点検します。倒れた榛の木が一本あるだけで流れがせき止められ、水車ではなく牧草地へ水があふれてしまうからです。冬の間に堰の裏側には泥がたまり、浅くなった池では勢いのよい水車も鈍くなります。四月には有志が砂利をかき集め、格子に絡んだ浮草を取り除き、ネズミが掘った穴を粘土でふさぎます。<footnote-anchor ref="fn1"/>地味で泥だらけの作業ですが、欠かすことはできません。</p>
    <p unique="4" format="Body">上掛け水車の直径はおよそ四メートルで、乾燥させた樫の板で作った四十八個の水受けを備えています。水受けを留める鉄の金具はしぶきを浴びてすぐに錆びます。一つが割れると回転の釣り合いが崩れ、揺れに気づくよりずっと前に、二階の床板を通してかすかな打音が聞こえてきます。交換は夏の仕事で、楔で車輪を止め、足場を組み、大工二人が新しい板をはめ込みます。<table-anchor ref="t1"/></p>
  </flow>
  <table key="t1" title="yes">
    <title>
      <p unique="20" format="TableTitle" autonumber="表 1: ">季節ごとの作業</p>
    </title>
    <row kind="heading">
      <cell key="c1">
        <p unique="21">季節</p>
      </cell>
      <cell key="c2">
        <p unique="22">作業内容</p>
      </cell>
    </row>
    <row kind="body">
      <cell key="c3">
        <p unique="23">早春</p>
      </cell>
      <cell key="c4">
        <p unique="24">暗渠の点検と砂利の除去</p>
      </cell>
    </row>
  </table>
  <footnote key="fn1" number="1">
    <p unique="25" format="Footnote">粘土は近くの河原から運んできたものを使います。</p>
  </footnote>
</document>
