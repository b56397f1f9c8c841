<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="21">
  <colour name="Black" reserved="1"/>
  <colour name="Yellow" reserved="3"/>
  <colour name="Magenta" reserved="8"/>
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <page name="Right" kind="master"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Heading1" autonumber="2&#9;">Settings</p>
    <p unique="2" format="Body">The table lists the settings<footnote-anchor ref="fn1"/>.<table-anchor ref="t1"/></p>
    <p unique="3" format="Body">Each setting takes effect at once.</p>
  </flow>
  <table key="t1" title="yes">
    <title>
      <p unique="10" format="TableTitle" autonumber="Table 1: ">Settings</p>
    </title>
    <row kind="heading">
      <cell key="c1">
        <p unique="11">Name</p>
      </cell>
      <cell key="c2">
        <p unique="12">Meaning</p>
      </cell>
    </row>
    <row kind="body">
      <cell key="c3">
        <p unique="13">Display</p>
      </cell>
      <cell key="c4">
        <p unique="14">Updates the screen</p>
      </cell>
    </row>
    <row kind="body">
      <cell key="c5">
        <p unique="15">Spanning note</p>
      </cell>
      <cell key="c6" straddled="yes">
        <p unique="16"></p>
      </cell>
    </row>
  </table>
  <footnote key="fn1" number="1">
    <p unique="20" format="Footnote">As of version 17.</p>
  </footnote>
</document>
