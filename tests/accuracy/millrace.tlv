<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="40">
  <colour name="Black" reserved="1"/>
  <colour name="Magenta" reserved="8"/>
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes" colour-override="yes" colour="Magenta" style="single-underline"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Title">Keeping an Old Watermill Running</p>
    <p unique="2" format="Heading1" autonumber="1&#9;">Water and Wheel</p>
    <p unique="3" format="Body">Every spring the miller walks the whole length of the leat before opening the sluice, because a single fallen alder can choke the channel and send the flood over the meadow instead of onto the paddles. Silt gathers behind the weir through the winter, and a shallow pond turns a brisk wheel into a sluggish one that barely lifts the hammers of the fulling stocks. Volunteers rake the gravel bars each April, clear duckweed from the grating, and mend the clay banks where water voles have burrowed deep tunnels; the work is dull, muddy and entirely necessary.</p>
    <p unique="4" format="Body">Our overshot wheel measures nearly four metres across and carries forty-eight buckets of seasoned oak, each held by iron brackets that rust quickly in the spray. When one bucket splits, the imbalance shows first as a faint knocking heard through the floorboards upstairs, long before anyone notices a wobble. Replacing buckets is a summer task: the wheel is chocked with timber wedges, a scaffold is lashed beside it, and two carpenters fit new staves while a third checks every rivet with a small ball-peen hammer.</p>
    <p unique="5" format="Heading1" autonumber="2&#9;">Gears and Stones</p>
    <p unique="6" format="Body">Inside, the pit wheel drives a cast wallower, which turns the upright shaft; near the ceiling a great spur wheel then feeds power to both pairs of millstones through small stone nuts that can be lifted out of gear.<footnote-anchor ref="fn1"/> The cogs of the spur wheel are hornbeam, chosen because its dense grain wears smoothly against iron teeth without splintering, and a set usually lasts about twenty years if the grease pots are refilled weekly. A worn cog whistles under load, so an attentive visitor sometimes hears trouble before the foreman does.</p>
    <p unique="7" format="Body">Dressing the stones is slow, patient craft. The runner stone is hoisted with a crane and turned face upward, then the dresser cuts fresh furrows using a mill bill, following a pattern of harps and quarters marked out with a painted staff. Fine cracking lines between the furrows produce flour rather than meal, while blunt lands simply bruise the grain and warm it. An experienced dresser can finish one face in a long day, pausing often to sharpen the bill on a sandstone block kept damp in a bucket.</p>
    <p unique="8" format="Body">Grain arrives in sacks hauled up by the lucam hoist and is tipped into bins on the top floor, from where it trickles down through wooden chutes into the hopper. A shoe shaken by the damsel meters the flow into the eye of the runner, and a bell alarm rings when the hopper empties, warning the miller before the stones can grind against each other and strike sparks. Meal leaves through the tentering spout, warm and fragrant, ready for the bolter that sifts it into flour, middlings and bran.</p>
    <p unique="9" format="Heading1" autonumber="3&#9;">Visitors</p>
    <p unique="10" format="Body">The mill opens to visitors on weekend afternoons from Easter until October.<table-anchor ref="t1"/> Children may turn the small demonstration quern themselves, and school parties can book a guided tour that ends with baking oatcakes on the griddle beside the kiln.</p>
    <p unique="11" format="Body">Please keep dogs on leads near the tailrace, where the current runs faster than it looks.</p>
  </flow>
  <table key="t1" title="yes">
    <title>
      <p unique="20" format="TableTitle" autonumber="Table 1: ">Seasonal chores around the millpond</p>
    </title>
    <row kind="heading">
      <cell key="c1">
        <p unique="21">Season</p>
      </cell>
      <cell key="c2">
        <p unique="22">Chore</p>
      </cell>
    </row>
    <row kind="body">
      <cell key="c3">
        <p unique="23">Early spring</p>
      </cell>
      <cell key="c4">
        <p unique="24">Rake gravel bars and inspect culverts</p>
      </cell>
    </row>
    <row kind="body">
      <cell key="c5">
        <p unique="25">High summer</p>
      </cell>
      <cell key="c6">
        <p unique="26">Replace cracked paddles and tar sluice gates</p>
      </cell>
    </row>
  </table>
  <footnote key="fn1" number="1">
    <p unique="30" format="Footnote">Stone nuts are disengaged by a screw jack, which slides them upward along their spindle.</p>
  </footnote>
</document>
