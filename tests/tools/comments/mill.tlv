<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="3">
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Heading1">The mill</p>
    <p unique="2" format="Body">The old mill turned slowly by the river while the miller counted sacks of grain and the children ran along the bank chasing geese that scattered over the meadow before the evening bell rang across the valley and the lamps were lit one by one in the narrow windows of the village.</p>
  </flow>
</document>
